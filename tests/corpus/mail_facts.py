"""Prints what Python's email package (a MIME parser nobody on the team
wrote) finds in mail files, in the form read_msg.js prints for message files:
one block per file, one fact a line. A fact that the package cannot read
from damaged mail is left out, and so is the body where the mail has more
than one inline text part. The package keeps the white space between
encoded words of a header, which RFC 2047 drops, so the test compares header
lines without their white space."""
import email.utils
import hashlib
import json
import os
import sys
from datetime import timezone
from email import errors, policy
from email.parser import BytesParser


def tidy(text):
    lines = text.replace("\r", "").split("\n")
    return "\n".join(line.rstrip() for line in lines).rstrip("\n")


def mailbox(address):
    # "*": no name, where a client may show the address or a comment.
    return "%s <%s>" % (address.display_name or "*", address.addr_spec)


def addresses(mail, name):
    """The mailboxes of a header, or None where the package found it invalid."""
    header = mail[name]
    if header is None:
        return []
    if any(isinstance(defect, errors.InvalidHeaderDefect) for defect in header.defects):
        return None
    return header.addresses


def is_inline_text(part, subtype):
    return (part.get_content_type() == "text/" + subtype
            and part.get_content_disposition() != "attachment"
            and not part.get_filename())


def leaves(part, in_alternative=False):
    """The leaf parts in order, an attached message counting as a leaf; a
    multipart without parts has none."""
    if part.get_content_maintype() == "multipart":
        alternative = part.get_content_type() == "multipart/alternative"
        for child in (part.iter_parts() if part.is_multipart() else []):
            yield from leaves(child, alternative)
    else:
        yield part, in_alternative


def sha256(data):
    return "%s %d" % (hashlib.sha256(data).hexdigest(), len(data))


def attachment(part):
    """The attachment line of a part: its bytes' SHA-256 and length, then
    the same of the bytes with LF line ends, marked "~". The package keeps
    the exact bytes of base64 parts only; other parts come with LF line
    ends, so only the second is given. Parts it reads as header blocks (a
    delivery status) give no bytes and are marked "*"."""
    if part.is_multipart():
        return "attachment *"
    data = part.get_payload(decode=True) or b""
    lf = "~" + sha256(data.replace(b"\r\n", b"\n"))
    if part.get("content-transfer-encoding", "").strip().lower() != "base64":
        return "attachment " + lf
    return "attachment %s %s" % (sha256(data), lf)


def facts(path):
    with open(path, "rb") as source:
        mail = BytesParser(policy=policy.default).parse(source)
    # Header lines it did not recognise went into the body: nothing it read
    # is the mail's.
    if any(isinstance(defect, errors.MissingHeaderBodySeparatorDefect) for defect in mail.defects):
        return []
    out = ["subject " + str(mail["subject"] or "")]
    senders = addresses(mail, "from")
    if senders:
        out.append("sender " + mailbox(senders[0]))
    for kind in ("to", "cc", "bcc"):
        for address in addresses(mail, kind) or []:
            out.append("%s %s" % (kind, mailbox(address)))
    try:
        date = email.utils.parsedate_to_datetime(str(mail["date"]))
        if date.tzinfo is None:
            date = date.replace(tzinfo=timezone.utc)
        out.append(date.astimezone(timezone.utc).strftime("time %Y-%m-%dT%H:%M:%S.000Z"))
    except Exception:
        if mail["date"] is None:
            out.append("time none")
    attachments = []
    plain = []
    html_taken = False
    for part, in_alternative in leaves(mail):
        if part.get_content_type() == "message/rfc822":
            inner = part.get_payload(0) if part.is_multipart() else None
            attachments.append("message " + str(inner["subject"] or "") if inner else None)
        elif is_inline_text(part, "plain"):
            if not plain or not in_alternative:
                plain.append(part)
        elif is_inline_text(part, "html") and (not html_taken or in_alternative):
            html_taken = True
        else:
            attachments.append(attachment(part))
    # Parts it could not find, or a structure the mail states twice, leave
    # the parts unknown.
    if (len(mail.get_all("content-type") or []) > 1
            or any(isinstance(defect, (errors.StartBoundaryNotFoundDefect,
                                       errors.MultipartInvariantViolationDefect))
                   for defect in mail.defects)):
        return out
    if len(plain) == 1:
        try:
            out.append("body " + json.dumps(tidy(plain[0].get_content()), ensure_ascii=False))
        except Exception:
            pass
    out.append("attachments %d" % len(attachments))
    out.extend(line for line in attachments if line)
    return out


if __name__ == "__main__":
    for path in sys.argv[1:]:
        print("== " + os.path.splitext(os.path.basename(path))[0])
        for line in facts(path):
            # U+FFFD: bytes the package could not decode.
            if "\ufffd" not in line:
                print(line)
