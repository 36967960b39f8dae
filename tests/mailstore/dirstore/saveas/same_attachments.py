"""Compares the attachments of a mail file (as Python's email package reads
it) with files, in order: prints "subject: <subject>" and one line per
attachment, "same <name>" or "differs <name>"."""
import sys
from email import policy
from email.parser import BytesParser

with open(sys.argv[1], "rb") as source:
    mail = BytesParser(policy=policy.default).parse(source)
print("subject: " + str(mail["subject"]))
parts = [part for part in mail.iter_attachments() if part.get_content_type() != "message/rfc822"]
expected = sys.argv[2:]
if len(parts) != len(expected):
    print("count %d, expected %d" % (len(parts), len(expected)))
for part, path in zip(parts, expected):
    with open(path, "rb") as wanted:
        same = part.get_payload(decode=True) == wanted.read()
    print(("same " if same else "differs ") + str(part.get_filename()))
