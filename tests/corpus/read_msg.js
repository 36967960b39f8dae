// Prints what @kenjiuno/msgreader (a reader nobody on the team wrote) finds
// in Outlook message files, one block per file, one fact a line, in the form
// that mail_facts.py prints for the mail itself.
const crypto = require("crypto");
const fs = require("fs");
const path = require("path");
const MsgReader = require("@kenjiuno/msgreader").default;

const sha256 = (bytes) => crypto.createHash("sha256").update(bytes).digest("hex");
const tidy = (text) =>
  (text || "").replace(/\r/g, "").split("\n").map((line) => line.trimEnd()).join("\n").replace(/\n+$/, "");

for (const file of process.argv.slice(2)) {
  console.log("== " + path.basename(file, ".msg"));
  const reader = new MsgReader(fs.readFileSync(file));
  const data = reader.getFileData();
  if (data.error) {
    console.log("ERROR " + data.error);
    continue;
  }
  console.log("subject " + data.subject);
  console.log("sender " + data.senderName + " <" + data.senderEmail + ">");
  for (const recipient of data.recipients || [])
    console.log(recipient.recipType + " " + recipient.name + " <" + recipient.smtpAddress + ">");
  const time = data.clientSubmitTime ? new Date(data.clientSubmitTime).toISOString() : "none";
  console.log("time " + time);
  console.log("body " + JSON.stringify(tidy(data.body)));
  const attachments = data.attachments || [];
  console.log("attachments " + attachments.length);
  for (const attachment of attachments) {
    if (attachment.innerMsgContent) {
      console.log("message " + attachment.innerMsgContentFields.subject);
    } else {
      // The exact bytes, then the same with LF line ends (see mail_facts.py).
      const bytes = Buffer.from(reader.getAttachment(attachment).content);
      const lf = Buffer.from(bytes.toString("latin1").replace(/\r\n/g, "\n"), "latin1");
      console.log("attachment " + sha256(bytes) + " " + bytes.length + " ~" + sha256(lf) + " " + lf.length);
    }
  }
}
