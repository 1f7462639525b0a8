// SPDX-License-Identifier: MIT
#include "workbench/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "workbench/files/file_error.h"
#include "workbench/files/messages.h"

namespace lunavant::workbench {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& target, std::string_view step, int error) {
  throw ProjectFileError(FileStatus::kNotSaved, target, 0,
                         file_message::SaveFailed(step, std::strerror(error)));
}

// Closes the descriptor and removes the temporary file unless the rename took it over.
class TemporaryFile {
 public:
  TemporaryFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!kept_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Fd() const { return fd_; }
  const std::string& Path() const { return path_; }
  // Closing reports the last deferred write error on some file systems, so it is checked.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }
  void Keep() { kept_ = true; }

 private:
  int fd_;
  std::string path_;
  bool kept_ = false;
};

}  // namespace

void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  WriteFileAtomically(target, [bytes](const ChunkSink& sink) { sink(bytes); });
}

void WriteFileAtomically(const std::filesystem::path& named,
                         const std::function<void(const ChunkSink&)>& produce) {
  // A symbolic link stays a link: the file it leads to is the one replaced, in its own folder.
  std::filesystem::path target = named;
  std::error_code no_link;
  if (std::filesystem::is_symlink(named, no_link)) {
    std::error_code unresolved;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(named, unresolved);
    if (!unresolved) target = resolved;
  }
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  std::string temporary_name = ".";
  temporary_name.append(target.filename().string()).append(".XXXXXX");
  const std::string pattern = (folder / temporary_name).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) Fail(named, "creating a temporary file", errno);
  TemporaryFile temporary(fd, name.data());

  struct stat existing {};
  const mode_t umask_now = ::umask(0);
  ::umask(umask_now);
  const mode_t mode =
      ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : (0666 & ~umask_now);
  if (::fchmod(temporary.Fd(), mode) != 0) Fail(named, "setting the file mode", errno);

  // Small pieces are gathered into large writes; the first failure stops all further writing.
  constexpr std::size_t kBlock = 1 << 18;
  std::string pending;
  int write_error = 0;
  const auto write_all = [&](std::string_view bytes) {
    while (!bytes.empty() && write_error == 0) {
      const ssize_t written = ::write(temporary.Fd(), bytes.data(), bytes.size());
      if (written < 0) {
        if (errno != EINTR) write_error = errno;
        continue;
      }
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
  };
  const auto flush = [&] {
    write_all(pending);
    pending.clear();
  };
  const ChunkSink sink = [&](std::string_view piece) {
    if (write_error != 0) return;
    if (pending.size() + piece.size() < kBlock) {
      pending.append(piece);
      return;
    }
    flush();
    write_all(piece);
  };
  produce(sink);
  flush();
  if (write_error != 0) Fail(named, "writing", write_error);
  if (::fsync(temporary.Fd()) != 0) Fail(named, "flushing to the disk", errno);
  if (temporary.Close() != 0) Fail(named, "closing", errno);
  if (::rename(temporary.Path().c_str(), target.c_str()) != 0) Fail(named, "replacing", errno);
  temporary.Keep();
  // The rename itself lives in the folder: flush it too, so a crash cannot bring the old file back.
  const int folder_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (folder_fd >= 0) {
    ::fsync(folder_fd);
    ::close(folder_fd);
  }
}

}  // namespace lunavant::workbench
