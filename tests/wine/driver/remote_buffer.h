// Memory inside the installer's process, for the control messages whose
// answer goes through a pointer (a tab's rectangle and its label).
#pragma once

#include <windows.h>

#include <cstddef>

namespace driver {

class RemoteBuffer {
  public:
    RemoteBuffer(HANDLE process, std::size_t size);
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer();

    bool Valid() const { return address_ != nullptr; }
    // The buffer's address in the installer's process.
    void* Address() const { return address_; }
    bool Write(const void* data, std::size_t size, std::size_t offset = 0);
    bool Read(void* data, std::size_t size, std::size_t offset = 0) const;

  private:
    HANDLE process_;
    void* address_;
};

}  // namespace driver
