#include "app/posix/usage_text.h"

#include "app/product.h"

namespace qs {

std::string UsageText() {
  return "Usage: quillstow save FOLDER DIRECTORY [options]\n"
         "       quillstow list FOLDER [--output FILE|-] [--columns NAMES] [--tsv|--json] [options]\n"
         "       quillstow export FOLDER [--output FILE|-] [options]\n"
         "       quillstow folders [options]\n"
         "       quillstow [FOLDER [DIRECTORY]] [/ini FILE] [/dbg LEVEL] [/autorun] [options]\n"
         "\n"
         "save saves every mail of the mail folder FOLDER (for example '\\\\Mailbox\\Inbox') and\n"
         "its subfolders into DIRECTORY; list prints the rows its search lists; export writes\n"
         "the list in the Options form's line format (by default to list.txt beside the\n"
         "settings file); folders prints the path of every folder, one a line. No command\n"
         "shows a window or changes the settings file. Without a command or /autorun the\n"
         "program shows its window on the terminal and reads its controls from standard\n"
         "input.\n"
         "\n"
         "Options of a search (save, list, export), for this run only:\n"
         "  --since DATE          mail whose latest date is on or after DATE (2010-01-31)\n"
         "  --before DATE         mail whose latest date is before DATE\n"
         "  --date-format FORMAT  how names and the list write dates (yymmdd HHMMSS)\n"
         "Options of a save:\n"
         "  --format FORMAT       msg, txt, rtf, dir (a directory per mail with its attachments)\n"
         "                        or eml (a MIME message file that any mail program reads)\n"
         "  --name FORMAT         the saved names: %1 sent, %2 from, %3 subject, %4 to, %5 received,\n"
         "                        %6 entry identifier, %7 folder, %8 latest time\n"
         "  --subfolders          repeat the folder tree below DIRECTORY; --no-subfolders: do not\n"
         "Options of list and export:\n"
         "  --output FILE         write into FILE, or with - to standard output (list: by default)\n"
         "  --columns NAMES       list: these columns, comma-separated, in any letter case: Sent,\n"
         "                        From, Subject, To, Received, EntryID, Folder, LatestTime\n"
         "  --tsv                 list: a line of the headers, then a line per mail, tab-separated\n"
         "                        (the default)\n"
         "  --json                list: a JSON object per mail, times in ISO 8601\n"
         "Options of any run:\n"
         "  --mail-root PATH      the directory or Outlook data file that holds the stores\n"
         "                        (in place of QUILLSTOW_MAILROOT)\n"
         "  --threads N           how many threads read and write mail (in place of QUILLSTOW_THREADS)\n"
         "  --ini FILE            the settings file to use (as /ini FILE)\n"
         "  --quiet               tell nothing but failures, and show no progress line\n"
         "  --verbose             tell how things went also when standard error is no terminal\n"
         "  -h, --help            this text\n"
         "  --version             the program's name, version and licence\n"
         "\n"
         "Examples:\n"
         "  quillstow save '\\\\Mailbox' ~/saved --since 2010-01-01 --format msg\n"
         "  quillstow save '\\\\Mailbox' ~/saved-dirs --format dir --subfolders\n"
         "  quillstow list '\\\\Mailbox\\Inbox' --json --columns sent,from,subject\n"
         "\n"
         "Rows, lists and folders go to standard output; messages, the progress line and the\n"
         "closing count to standard error. Messages that only tell how things went are shown\n"
         "on a terminal (or with --verbose); failures always.\n"
         "\n"
         "Ctrl+C (or a request to end) stops a save after the mail at hand: \"Stopped after N\n"
         "of M.\" and the count, with the mail not reached, are printed in any case.\n"
         "\n"
         "Exit status: 0 when everything was done; 1 when something failed; 2 for a command\n"
         "line the program cannot read; 130 after Ctrl+C, 143 after a request to end.\n";
}

std::string VersionText() {
  return std::string(kProductName) + " " + ProductVersion() + "\nThis program is under the MIT licence.\n";
}

}  // namespace qs
