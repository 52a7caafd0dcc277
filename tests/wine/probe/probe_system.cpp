#include <string>
#include <vector>

#include "probe_checks.h"

namespace probe {
namespace {

std::string DriveLetters(std::uint32_t mask) {
    std::string letters;
    for (int n = 0; n < 26; ++n) {
        if ((mask & (1u << n)) != 0) {
            letters += static_cast<char>('A' + n);
        }
    }
    return letters;
}

}  // namespace

void CheckSystem(platform::System& system, const Expectations& expected, Report& report) {
    std::uint32_t platformId = 99;
    bool answered = system.GetVersionExA(platformId);
    report.Expect("GetVersionExA gives the platform id " + std::to_string(expected.platformId),
                  answered && platformId == expected.platformId,
                  "answered " + std::to_string(answered) + ", id " + std::to_string(platformId));

    char module[win::kMaxPath] = {};
    std::uint32_t moduleLength = system.GetModuleFileNameA(module, sizeof module);
    std::string modulePath(module);
    report.Expect("GetModuleFileNameA names the program in C:\\probe",
                  moduleLength == modulePath.size() && modulePath.starts_with("C:\\probe\\") &&
                      modulePath.ends_with(".exe"),
                  modulePath);

    std::uint32_t needed = system.GetCurrentDirectoryA(0, nullptr);
    std::vector<char> directory(needed + 1);
    std::uint32_t copied = system.GetCurrentDirectoryA(needed, directory.data());
    report.Expect("GetCurrentDirectoryA measures, then copies C:\\probe",
                  needed == sizeof "C:\\probe" && copied == needed - 1 &&
                      std::string(directory.data()) == "C:\\probe",
                  std::to_string(needed) + " " + std::to_string(copied) + " " + directory.data());

    std::string letters = DriveLetters(system.GetLogicalDrives());
    report.Expect(std::string("GetLogicalDrives holds C and ") + expected.driveLetter,
                  letters.find('C') != std::string::npos &&
                      letters.find(expected.driveLetter) != std::string::npos,
                  letters);

    const std::uint16_t wide[] = {'R', 'o', 'v', 'a', 'n', 'e', 0xE9};
    char narrow[win::kMaxPath] = {};
    int converted = system.WideCharToMultiByte(wide, 7, narrow, sizeof narrow);
    report.Expect("WideCharToMultiByte converts to the ANSI code page",
                  converted == 7 && std::string(narrow, 7) == "Rovane\xE9",
                  std::to_string(converted) + " " + narrow);

    system.SetLastError(win::kErrorInvalidParameter);
    report.Expect("SetLastError then GetLastError",
                  system.GetLastError() == win::kErrorInvalidParameter);

    std::string notFound = system.FormatMessageA(win::kErrorFileNotFound);
    report.Note("FormatMessageA(2)", Escaped(notFound));
    report.Expect("FormatMessageA gives the system's text, ended by CR LF",
                  notFound.size() > 2 && notFound.ends_with("\r\n"), Escaped(notFound));
    std::string unknown = system.FormatMessageA(0x2000FFFFu);
    report.Expect("FormatMessageA of a code without text is empty", unknown.empty(),
                  Escaped(unknown));
}

}  // namespace probe
