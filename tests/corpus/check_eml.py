"""Reads MIME message files with Python's email package (policy.default) and
prints an "ERROR" line for each defect of a part or MIME field (of every field
with --all-fields: a data file's mail keeps the fields it arrived with) and
each line over 998 octets. Writes every attachment's bytes into OUT_DIR and
ends with the counts. Usage: check_eml.py [--all-fields] OUT_DIR FILE..."""
import os
import sys
from email import policy
from email.parser import BytesParser

arguments = sys.argv[1:]
all_fields = arguments[:1] == ["--all-fields"]
out_dir, files = arguments[all_fields], arguments[all_fields + 1:]
attachments = messages = 0
for path in files:
    with open(path, "rb") as source:
        data = source.read()
    for number, line in enumerate(data.split(b"\r\n"), 1):
        if len(line) > 998:
            print("ERROR %s: line %d has %d octets" % (path, number, len(line)))
    mail = BytesParser(policy=policy.default).parsebytes(data)
    for part in mail.walk():
        for defect in part.defects:
            print("ERROR %s: %r" % (path, defect))
        for name, value in part.items():
            if not all_fields and name.lower() != "mime-version" and not name.lower().startswith("content-"):
                continue
            for defect in getattr(value, "defects", ()):
                print("ERROR %s: %s: %r" % (path, name, defect))
        if part.get_content_type() == "message/rfc822":
            messages += 1
        elif part.get_content_disposition() in ("attachment", "inline") and not part.is_multipart():
            attachments += 1
            with open(os.path.join(out_dir, str(attachments)), "wb") as out:
                out.write(part.get_payload(decode=True))
print("%d files %d attachments %d messages" % (len(files), attachments, messages))
