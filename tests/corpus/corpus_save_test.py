"""The Linux program, unattended, over every mail of the sample mailbox and
the mail corpus, as a user would run it. Each mail is saved as a message
file and as a directory, both named by the mail's entry identifier, and:
- every mail is saved but the delivery reports and meeting requests, which
  the search does not list;
- every message file passes the strict container check (check_msg.py);
- the npm reader reads from each message file the subject, the sender and
  the attachments that Python's email package finds in the mail;
- each attachment file holds the bytes of its part;
- each mail saved as a MIME message file is its source's bytes;
- the same mails in one mbox file are saved as the messages that Python's
  mailbox module reads from it.
Usage: corpus_save_test.py PROGRAM HELPERS_DIR NODE_MODULES MAIL_DIR...
"""
import mailbox
import os
import re
import shutil
import subprocess
import sys
import tempfile
from email import policy
from email.parser import BytesParser
from pathlib import Path

from mail_facts import sha256  # the same lines for saved files as for parts of the mail

program, helpers, modules = sys.argv[1:4]
sources = [path for root in sys.argv[4:] for path in sorted(
    os.path.join(top, name) for top, _, names in os.walk(root) for name in names
    if name != "LICENSE")]
failures = []
fail = failures.append


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def blocks(report):
    """The blocks "== <name>" of a reader's report: lines grouped by their
    first word."""
    found, current = {}, None
    for line in report.splitlines():
        if line.startswith("== "):
            current = found.setdefault(line[3:], {})
        elif current is not None:
            current.setdefault(line.split(" ")[0], []).append(line)
    return found


def read_with(reader, command, expected, **options):
    """A reader's blocks, which must come one for each name: a reader that
    is missing, breaks or leaves a file out fails the test rather than
    finding nothing wrong."""
    done = run(command, **options)
    if done.returncode != 0:
        fail("%s ended with status %d: %s" % (reader, done.returncode, done.stderr[-2000:]))
    found = blocks(done.stdout)
    missing = [name for name in expected if name not in found]
    if missing:
        fail("%s gave no block for %d of %d files, first %s" % (reader, len(missing), len(expected), missing[0]))
    return found


def same(kind, wanted, read):
    if kind == "attachment":
        facts = wanted[len(kind) + 1:]
        return facts == "*" or (" " + facts + " ") in (read + " ")
    unnamed = wanted.find(" * <")
    if unnamed >= 0:  # a mailbox without a name is compared by its address
        return read[:unnamed + 1] == wanted[:unnamed + 1] and read.endswith(wanted[unnamed + 2:])
    return "".join(wanted.split()) == "".join(read.split())


def save(folder, output, into):
    settings = os.path.join(work, into + ".ini")
    with open(settings, "w") as ini:
        ini.write("[Options]\nFnOutput=%s\nFnFormat=%%6\nBefore=9999-12-31\n" % output)
    return run([program, folder, os.path.join(work, into), "/ini", settings, "/autorun"],
               env=environment, stdin=subprocess.DEVNULL)


def listed(path):
    """Whether the search lists the mail: not a delivery report, not a
    meeting request."""
    with open(path, "rb") as source:
        mail = BytesParser(policy=policy.compat32).parse(source)
    kind = (mail.get("content-type") or "").split(";")[0].strip().lower()
    calendar = kind == "text/calendar" and mail.get_param("method", "").lower() == "request"
    meeting = (mail.get("content-class") or "").strip().lower() == "urn:content-classes:calendarmessage"
    return kind != "multipart/report" and not calendar and not meeting


with tempfile.TemporaryDirectory(prefix="qs-corpus-") as work:
    os.makedirs(os.path.join(work, "root", "Corpus"))
    names = {}  # saved name (the entry identifier) -> source mail
    for i, source in enumerate(sources):
        relative = "Corpus/m%03d.eml" % i
        shutil.copyfile(source, os.path.join(work, "root", relative))
        names[relative.encode().hex().upper()] = source
    environment = dict(os.environ, QUILLSTOW_MAILROOT=os.path.join(work, "root"),
                       XDG_CONFIG_HOME=os.path.join(work, "config"))
    for output in ("msg", "dir", "eml"):
        done = save("\\\\Corpus", output, output)
        if done.returncode != 0:
            fail("the %s run ended with status %d: %s" % (output, done.returncode, done.stdout + done.stderr))
    saved = sorted(name[:-4] for name in os.listdir(os.path.join(work, "msg"))
                   if name not in (".quillstow-saved", ".quillstow-lock"))
    wanted = sorted(name for name, source in names.items() if listed(source))
    if saved != wanted:
        fail("saved %s, not %s" % (sorted(set(saved) ^ set(wanted)), "the listed mails"))
    if len(saved) < 100:
        fail("only %d mails saved" % len(saved))
    messages = [os.path.join(work, "msg", name + ".msg") for name in saved]

    checked = read_with("check_msg.py", [sys.executable, os.path.join(helpers, "check_msg.py")] + messages,
                        messages)
    for name, facts in checked.items():
        for line in facts.get("ERROR", []):
            fail("%s: %s" % (names.get(name, name), line))

    for name in saved:
        shutil.copyfile(names[name], os.path.join(work, name + ".eml"))
    python = read_with("mail_facts.py", [sys.executable, os.path.join(helpers, "mail_facts.py")] +
                       [os.path.join(work, name + ".eml") for name in saved], saved)
    reader = read_with("read_msg.js", ["node", os.path.join(helpers, "read_msg.js")] + messages, saved,
                       env=dict(os.environ, NODE_PATH=modules))
    for name in saved:
        mail, read = python.get(name, {}), reader.get(name, {})
        if not read:
            fail("%s: the npm reader read nothing" % names[name])
        for kind in ("subject", "sender", "attachments", "attachment", "message"):
            lines, got = mail.get(kind, []), read.get(kind, [])
            if lines and not (len(lines) == len(got) and all(map(same, [kind] * len(got), lines, got))):
                fail("%s: %s %s, the npm reader %s" % (names[name], kind, lines, got))
        folder = os.path.join(work, "dir", name, "attachments")
        files = [os.path.join(folder, f) for f in sorted(os.listdir(folder))] if os.path.isdir(folder) else []
        held = ["attachment %s ~%s" % (sha256(data), sha256(data.replace(b"\r\n", b"\n")))
                for data in (Path(path).read_bytes() for path in files)]
        for line in mail.get("attachment", []):
            if line != "attachment *" and not any(same("attachment", line, h) for h in held):
                fail("%s: no attachment file holds %s" % (names[name], line))
        with open(names[name], "rb") as source, open(os.path.join(work, "eml", name + ".eml"), "rb") as copy:
            if source.read() != copy.read():
                fail("%s: the saved .eml is not its bytes" % names[name])

    # The listed mails in one mbox file written by Python's mailbox module:
    # as many messages saved as it reads, each the bytes it reads, unquoted.
    os.makedirs(os.path.join(work, "root", "Mbox"))
    box = mailbox.mbox(os.path.join(work, "root", "Mbox", "all.mbox"))
    for name in saved:
        with open(names[name], "rb") as source:
            box.add(source.read())
    box.flush()
    done = save("\\\\Mbox", "eml", "mbox")
    # Named by their entry identifiers, which end with where each message starts.
    found = sorted((int(bytes.fromhex(name[:-4]).split(b"\0")[1].split()[2]), name)
                   for name in os.listdir(os.path.join(work, "mbox")) if name.endswith(".eml"))
    if done.returncode != 0 or len(found) != len(box):
        fail("%d of %d messages of the mbox file saved: %s" % (len(found), len(box), done.stdout + done.stderr))
    for key, (_, name) in zip(sorted(box.keys()), found):
        with open(os.path.join(work, "mbox", name), "rb") as copy:
            if copy.read() != re.sub(rb"(?m)^>(>*From )", rb"\1", box.get_bytes(key)):
                fail("%s: the message saved from the mbox file is not its bytes" % names[saved[key]])

print("\n".join(failures) if failures else "%d mails saved and read back" % len(sources))
sys.exit(1 if failures else 0)
