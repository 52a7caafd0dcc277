#include "doubles/windows_path.h"

#include <cctype>
#include <cstring>

#include "platform/win_constants.h"

namespace doubles {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsRefused(char c, bool wildcards) {
    if (static_cast<unsigned char>(c) < 0x20) {
        return true;
    }
    if (wildcards && (c == '*' || c == '?')) {
        return false;
    }
    return std::strchr(":*?\"<>|", c) != nullptr;
}

std::vector<std::string> SplitAtSeparators(const std::string& text) {
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (IsSeparator(c)) {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

}  // namespace

std::uint32_t WindowsPath::Parse(const std::string& path, bool wildcardsInLast) {
    if (path.size() < 2 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':') {
        return win::kErrorPathNotFound;
    }
    drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    driveText = path.substr(0, 2);
    const std::vector<std::string> pieces = SplitAtSeparators(path.substr(2));
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        if (piece.empty() || piece == ".") {
            continue;
        }
        if (piece == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
            continue;
        }
        for (char c : piece) {
            if (IsRefused(c, wildcardsInLast && i + 1 == pieces.size())) {
                return win::kErrorInvalidName;
            }
        }
        names.push_back(piece);
    }
    trailingSeparator = path.size() > 2 && IsSeparator(path.back());
    return 0;
}

std::string NameKey(const std::string& name) {
    std::string key = name;
    for (char& c : key) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}

bool MatchesPattern(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*") {
        return true;
    }
    const std::string p = NameKey(pattern);
    const std::string n = NameKey(name);
    std::size_t pi = 0;
    std::size_t ni = 0;
    std::size_t starP = std::string::npos;  // the last '*' met, for backtracking
    std::size_t starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            starP = pi++;
            starN = ni;
        } else if (starP != std::string::npos) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') {
        ++pi;
    }
    return pi == p.size();
}

}  // namespace doubles
