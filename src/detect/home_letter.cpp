#include "detect/home_letter.h"

#include <new>
#include <string>

#include "fileops/error_text.h"

namespace detect {

std::unique_ptr<char[]> AllocateZeroed(std::size_t size) {
    return std::unique_ptr<char[]>(new (std::nothrow) char[size]());
}

std::optional<std::uint8_t> ReadHomeLetter(platform::Platform& os, BufferAllocator allocate) {
    const std::uint32_t length = os.system.GetCurrentDirectoryA(0, nullptr);
    if (length == 0) {
        os.ui.AfxMessageBox("System Error: " + fileops::GetLastErrorText(os.system) + "!",
                            win::kMbOk | win::kMbIconHand);
        return std::nullopt;
    }
    const std::unique_ptr<char[]> directory = allocate(std::size_t{length} + 1);
    if (!directory) {
        os.ui.AfxMessageBox("Can't allocate memory to perform operation\r\nError: " +
                                fileops::GetLastErrorText(os.system) + "!",
                            win::kMbOk | win::kMbIconHand);
        return std::nullopt;
    }
    // A directory that grew since it was sized does not fit: not read either.
    const std::uint32_t copied = os.system.GetCurrentDirectoryA(length, directory.get());
    if (copied == 0 || copied >= length) {
        return kNoHomeLetter;
    }
    return static_cast<std::uint8_t>(directory[0]);
}

}  // namespace detect
