// Things that live in folders like files but are not regular files, made at a
// path for tests of what opening them does.
#pragma once

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

// A FIFO: opening it for reading waits for a writer.
inline void MakeFifo(const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }

// A Unix-domain socket file, left behind when its socket is closed.
inline void MakeSocket(const std::string& path) {
  const int handle = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(handle, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  EXPECT_EQ(bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(handle);
}
