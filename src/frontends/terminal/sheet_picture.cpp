#include "sheet_picture.h"

#include <algorithm>
#include <array>

namespace setup {

namespace {

constexpr char kReset[] = "\x1b[0m";
constexpr char kBold[] = "\x1b[1m";
constexpr char kButtonFace[] = "\x1b[30;47m";
constexpr char kBannerSky[] = "\x1b[97;48;2;24;64;140m";
constexpr char kTitleBar[] = "\x1b[1;97;48;2;10;36;106m";

// A flash drive with its label, as the banner bitmap shows it.
constexpr std::array<const char*, 7> kBannerArt = {
    "",
    "           .-------.",
    "           | [] [] |",
    "       .---'-------'---.",
    "       |  ~ ROVANE ~   |",
    "       |   Stashwell   |",
    "       '---------------'",
};
// The page's rows: a line on every other row, blank rows around them.
constexpr int kPageRows = static_cast<int>(kBannerArt.size());

std::string Padded(const std::string& text, int width) {
    const auto room = static_cast<std::size_t>(std::max(width, 0));
    const std::string cut = text.substr(0, room);
    return cut + std::string(room - cut.size(), ' ');
}

// The escape that paints a COLORREF (0x00BBGGRR) text on a background.
std::string Painted(const wizard::LineColors& colors) {
    auto rgb = [](wizard::ColorRef c) {
        return std::to_string(c & 0xFF) + ';' + std::to_string((c >> 8) & 0xFF) + ';' +
               std::to_string((c >> 16) & 0xFF);
    };
    return "\x1b[38;2;" + rgb(colors.text) + ";48;2;" + rgb(colors.background) + 'm';
}

struct Segment {
    std::string style;  // empty: the terminal's own colours
    std::string text;
};
using Segments = std::vector<Segment>;

class Drawing {
  public:
    Drawing(const SheetPicture& picture, bool colour)
        : p_(picture), colour_(colour), inside_(picture.columns - 2) {}

    std::string Draw() {
        Rule();
        Row({{kTitleBar, Padded(" " + p_.title, inside_)}});
        Rule();
        Row(PageEdge(!p_.tabsAtBottom));
        for (int row = 0; row < kPageRows; ++row) {
            Segments segments = PageRow(row);
            if (p_.bannerLeft) {
                segments.push_back({"", Padded("", *p_.bannerLeft - Width(segments))});
                segments.push_back({kBannerSky, Padded(kBannerArt[row], p_.bannerColumns)});
            }
            Row(segments);
        }
        Row(PageEdge(p_.tabsAtBottom));
        Row({});
        Row(Buttons());
        Rule();
        return out_;
    }

  private:
    static int Width(const Segments& segments) {
        int width = 0;
        for (const Segment& segment : segments) {
            width += static_cast<int>(segment.text.size());
        }
        return width;
    }

    // Rows are built by appending: prepending a text to a temporary string
    // makes GCC 12 report a false overlap (-Wrestrict) once inlined.
    void Rule() {
        out_ += '+';
        out_.append(static_cast<std::size_t>(inside_), '-');
        out_ += "+\n";
    }

    void Row(const Segments& segments) {
        out_ += '|';
        for (const Segment& segment : segments) {
            const bool styled = colour_ && !segment.style.empty();
            out_ += styled ? segment.style + segment.text + kReset : segment.text;
        }
        out_ += Padded("", inside_ - Width(segments)) + "|\n";
    }

    // The page's edge, with the tab on it when the tabs lie on this side.
    Segments PageEdge(bool withTab) const {
        const std::string tab = withTab ? "/" + p_.tabCaption + "\\" : "";
        const std::string edge = "+--" + tab;
        const int dashes = p_.pageColumns - 1 - static_cast<int>(edge.size());
        return {{"", Padded("", p_.pageLeft) + edge + std::string(std::max(dashes, 0), '-') + "+"}};
    }

    // A shown line is a band across the page in its colours, even when it
    // holds no text; a hidden line is not drawn.
    Segments PageRow(int row) const {
        const std::string left = Padded("", p_.pageLeft) + "| ";
        const int band = p_.pageColumns - 6;
        const auto index = static_cast<std::size_t>(row / 2);
        if (row % 2 == 0 || index >= p_.lines.size() || !p_.lines[index].visible) {
            return {{"", left + Padded("", band + 2) + " |"}};
        }
        const LinePicture& line = p_.lines[index];
        const std::string style = Painted(line.colors) + (line.pageFont ? kBold : "");
        if (colour_) {
            return {{"", left},
                    {style, std::string(" ").append(Padded(line.text, band)).append(" ")},
                    {"", " |"}};
        }
        return {{"", left + "[" + Padded(line.text, band) + "] |"}};
    }

    Segments Buttons() const {
        const std::string install = "[" + p_.installCaption + "]";
        const std::string cancel = "[ Cancel ]";
        const int right = p_.pageLeft + p_.pageColumns;
        const int gap = right - static_cast<int>(install.size() + cancel.size()) - 2;
        return {{"", Padded("", gap)},
                p_.installVisible ? Segment{kButtonFace, install}
                                  : Segment{"", Padded("", static_cast<int>(install.size()))},
                {"", "  "},
                {kButtonFace, cancel}};
    }

    const SheetPicture& p_;
    bool colour_;
    int inside_;
    std::string out_;
};

}  // namespace

std::string DrawSheet(const SheetPicture& picture, bool colour) {
    return Drawing(picture, colour).Draw();
}

}  // namespace setup
