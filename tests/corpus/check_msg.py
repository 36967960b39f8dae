"""Reads an Outlook message file with olefile (a reader nobody on the team
wrote) and prints what it holds, one fact a line, with any breach of the
format's rules as a line starting with "ERROR"."""
import struct
import sys

import olefile


def read(ole, prefix, header_size, out, depth=0):
    data = ole.openstream(prefix + "__properties_version1.0").read()
    values = {}
    for offset in range(header_size, len(data), 16):
        tag, _flags = struct.unpack("<II", data[offset:offset + 8])
        kind, ident = tag & 0xFFFF, tag >> 16
        raw = data[offset + 8:offset + 16]
        stream = prefix + "__substg1.0_%08X" % tag
        if kind in (0x001F, 0x0102):
            if not ole.exists(stream):
                out.append("ERROR no stream " + stream)
                continue
            body = ole.openstream(stream).read()
            size = struct.unpack("<I", raw[:4])[0]
            want = len(body) + 2 if kind == 0x001F else len(body)
            if size != want:
                out.append("ERROR size %s %d %d" % (stream, size, want))
            values[ident] = body.decode("utf-16-le") if kind == 0x001F else body
        elif kind == 0x000D:
            values[ident] = "object"
        elif kind == 0x0040:
            values[ident] = struct.unpack("<Q", raw)[0]
        elif kind == 0x000B:
            values[ident] = raw[0] != 0
        else:
            values[ident] = struct.unpack("<i", raw[:4])[0]
    return data, values


def children(ole, prefix, start):
    names = set()
    for entry in ole.listdir(streams=True, storages=True):
        path = "/".join(entry) + "/"
        if path.startswith(prefix) and path[len(prefix):].startswith(start):
            names.add(path[len(prefix):].split("/")[0])
    return sorted(names)


def message(ole, prefix, top, out, indent=""):
    data, v = read(ole, prefix, 32 if top else 24, out)
    recips = children(ole, prefix, "__recip_version1.0_#")
    attachs = children(ole, prefix, "__attach_version1.0_#")
    counts = struct.unpack("<IIII", data[8:24])
    if counts[2] != len(recips) or counts[3] != len(attachs):
        out.append("ERROR counts %r for %d recipients, %d attachments" % (counts, len(recips), len(attachs)))
    out.append(indent + "class %s" % v.get(0x001A))
    out.append(indent + "subject %s|%s|%s" % (v.get(0x0037), v.get(0x003D), v.get(0x0E1D)))
    out.append(indent + "sender %s <%s>" % (v.get(0x0C1A), v.get(0x0C1F)))
    out.append(indent + "to %s|cc %s" % (v.get(0x0E04), v.get(0x0E03)))
    times = "time %s delivered %s flags %s" % (v.get(0x0039), v.get(0x0E06), v.get(0x0E07))
    if (v.get(0x3007), v.get(0x3008)) != (v.get(0x0E06), v.get(0x0E06)):
        times += " made %s changed %s" % (v.get(0x3007), v.get(0x3008))
    out.append(indent + times)
    out.append(indent + "body %r" % v.get(0x1000))
    if 0x1013 in v:
        out.append(indent + "html %r cp %s" % (v[0x1013], v.get(0x3FDE)))
    for name in recips:
        _, r = read(ole, prefix + name + "/", 8, out)
        out.append(indent + "recipient %s %s <%s>" % (r.get(0x0C15), r.get(0x3001), r.get(0x39FE)))
    for name in attachs:
        _, a = read(ole, prefix + name + "/", 8, out)
        data = a.get(0x3701) if a.get(0x3705) == 1 else ""
        if len(data) > 256:
            data = "<%d bytes>" % len(data)
        hidden = " hidden" if a.get(0x7FFE) else ""
        out.append(indent + "attachment %s %s %s %s%s" % (a.get(0x3705), a.get(0x3707), a.get(0x370E), data, hidden))
        if a.get(0x3705) == 5:
            message(ole, prefix + name + "/__substg1.0_3701000D/", False, out, indent + "  ")


def check_tree(ole, entry, out):
    """Siblings in the container's order (shorter names first, then by upper
    case), no red entry with a red child, and as many black entries on every
    path down the tree."""
    names = []

    def walk(sid, parent_red):
        if sid == olefile.NOSTREAM:
            return 0
        node = ole.direntries[sid]
        red = node.color == 0
        if red and parent_red:
            out.append("ERROR red-red pair at " + node.name)
        left = walk(node.sid_left, red)
        names.append(node.name)
        if walk(node.sid_right, red) != left:
            out.append("ERROR black heights differ below " + node.name)
        return left + (0 if red else 1)

    walk(entry.sid_child, False)
    keys = [(len(name), name.upper()) for name in names]
    if keys != sorted(keys):
        out.append("ERROR sibling order in " + entry.name)
    for kid in entry.kids:
        if kid.entry_type == olefile.STGTY_STORAGE:
            check_tree(ole, kid, out)


def check(path):
    ole = olefile.OleFileIO(path)
    out = ["clsid " + ole.root.clsid]
    check_tree(ole, ole.root, out)
    # The header lists 109 FAT sectors; a file with more (over about 7 MB)
    # needs DIFAT sectors for the rest.
    if ole.num_fat_sectors > 109:
        needed = -(-(ole.num_fat_sectors - 109) // 127)
        if ole.num_difat_sectors != needed:
            out.append("ERROR %d DIFAT sectors for %d FAT sectors" % (ole.num_difat_sectors, ole.num_fat_sectors))
        out.append("difat %d" % ole.num_difat_sectors)
    for stream in ("__substg1.0_00020102", "__substg1.0_00030102", "__substg1.0_00040102"):
        if not ole.exists("__nameid_version1.0/" + stream):
            out.append("ERROR no name-id stream " + stream)
    message(ole, "", True, out)
    return out


# One file: its facts. Several: a block "== <path>" for each.
for path in sys.argv[1:]:
    if len(sys.argv) > 2:
        print("== " + path)
    try:
        out = check(path)
    except Exception as error:  # a file olefile cannot read at all
        out = ["ERROR unreadable: %r" % error]
    print("\n".join(out))
