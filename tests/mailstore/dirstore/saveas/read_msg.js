// Prints what @kenjiuno/msgreader (a reader nobody on the team wrote) finds
// in an Outlook message file, one fact a line.
const fs = require("fs");
const MsgReader = require("@kenjiuno/msgreader").default;

const reader = new MsgReader(fs.readFileSync(process.argv[2]));
const data = reader.getFileData();
if (data.error) {
  console.log("ERROR " + data.error);
  process.exit(0);
}
console.log("subject " + data.subject);
console.log("sender " + data.senderName + " <" + data.senderEmail + ">");
for (const recipient of data.recipients || [])
  console.log("recipient " + recipient.recipType + " " + recipient.name + " <" + recipient.smtpAddress + ">");
console.log("time " + data.clientSubmitTime);
console.log("body " + JSON.stringify(data.body));
for (const attachment of data.attachments || []) {
  if (attachment.innerMsgContent) {
    console.log("message " + attachment.name + " " + attachment.innerMsgContentFields.subject);
  } else {
    const file = reader.getAttachment(attachment);
    console.log("attachment " + file.fileName + " " + Buffer.from(file.content).toString("hex"));
  }
}
