"""Prints the attachment line that mail_facts.py prints for a part, for
saved files: "== <name>" arguments start a block, each further argument is
a file of it."""
import hashlib
import sys


def sha256(data):
    return "%s %d" % (hashlib.sha256(data).hexdigest(), len(data))


for argument in sys.argv[1:]:
    if argument.startswith("== "):
        print(argument)
        continue
    with open(argument, "rb") as source:
        data = source.read()
    print("attachment %s ~%s" % (sha256(data), sha256(data.replace(b"\r\n", b"\n"))))
