#pragma once
// The system calls that the platform's writers make on open files, the same on POSIX and on
// Windows. Every function that can fail returns 0 or the system's errno value; Open returns
// -1 and sets errno.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace quastor::file_calls {

enum class Access {
  kReadOnly,
  kReadWrite,
  kWriteOnly,  // without blocking, so that checking a FIFO for writing waits for no reader
  kTruncate,   // write only, emptied
  kCreateNew,  // write only, created; fails with EEXIST when the name is taken
};

// The file descriptor, or -1 with errno set. mode applies to a created file (POSIX bits).
int Open(const std::filesystem::path& path, Access access, int mode = 0666);
int Close(int fd);

// Every byte of bytes, at the file's position.
int WriteAll(int fd, std::string_view bytes);
// Up to size bytes into buffer at the file's position; *got is 0 at the end of the file.
int ReadSome(int fd, char* buffer, std::size_t size, std::size_t* got);
int SeekToStart(int fd);
int SizeOf(int fd, std::uint64_t* size);
// Cuts the file to size bytes, or extends it with zero bytes.
int Truncate(int fd, std::uint64_t size);
// Flushes the file's bytes and size to the disk.
int Sync(int fd);

// Takes the lock of the open file for this open only, without waiting: true when taken, false
// when another open (of this process or another) holds it. The system frees it when the file is
// closed or its process ends. Windows keeps no such lock here: always true.
bool TryLock(int fd);

// Makes sure the file of size current can grow to size bytes without the disk running full:
// the blocks are allocated where the file system can, else the free space of the file's
// directory dir is checked. A failure is ENOSPC (or EFBIG past the process's size limit).
int Reserve(int fd, std::uint64_t current, std::uint64_t size, const std::filesystem::path& dir);

// Flushes the directory's entries to the disk, so that a rename or removal in it survives a
// crash of the system. Nothing to do on Windows, where the file system journals them.
int SyncDirectory(const std::filesystem::path& dir);

// Gives the file fd the permission bits and, where the system allows, the owner of like.
void TakeOverMode(int fd, const std::filesystem::path& like);

long ProcessId();
// Whether the process may still run: false only when the system says there is no such process.
bool ProcessMayRun(unsigned long long pid);

// errno, or fallback when a call failed without setting it.
int LastError(int fallback = EIO);

}  // namespace quastor::file_calls
