#include "mailstore/dirstore/directory.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "mailstore/mail_store.h"

namespace qs::dirstore {

Directory::Directory(std::string path)
    : path_(std::move(path)), fd_(open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (!fd_.IsOpen())
    throw MailStoreError("cannot open the folder " + path_ + ": " + std::strerror(errno));
}

}  // namespace qs::dirstore
