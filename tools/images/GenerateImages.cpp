// Writes the tracker's images into a data folder at build time:
//   vexafont.png       96 cells of 11 x 12 (characters 32..127) from font_glyphs.txt
//   button1.png        32 x 12: a "down" button beside an "up" button
//   button_navrow.png  32 x 38: down/up pair (14 high), then "insert" and "delete"
// Usage: zrb_generate_images <font_glyphs.txt> <output folder>
// Fails (exit 1) on a glyph file with a missing, doubled, oversized or
// duplicate-looking glyph, so a broken font never reaches the data folder.
#include <stb_image_write.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kCellWidth = 11;
constexpr int kCellHeight = 12;
constexpr int kFirstCharacter = 32;
constexpr int kCharacterCount = 96;

struct Rgba {
    unsigned char r, g, b, a;
};

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), pixels_(size_t(width) * height * 4, 0) {}
    void Set(int x, int y, Rgba colour) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        unsigned char* p = &pixels_[(size_t(y) * width_ + x) * 4];
        p[0] = colour.r, p[1] = colour.g, p[2] = colour.b, p[3] = colour.a;
    }
    void Fill(int x, int y, int width, int height, Rgba colour) {
        for (int row = y; row < y + height; ++row)
            for (int column = x; column < x + width; ++column) Set(column, row, colour);
    }
    bool Write(const std::string& path) const {
        return stbi_write_png(path.c_str(), width_, height_, 4, pixels_.data(), width_ * 4) != 0;
    }
    int Width() const { return width_; }

private:
    int width_, height_;
    std::vector<unsigned char> pixels_;
};

struct Glyph {
    int x = 2, y = 1;
    std::vector<std::string> rows;
    int line = 0;
};

bool Fail(const std::string& message) {
    std::fprintf(stderr, "zrb_generate_images: %s\n", message.c_str());
    return false;
}

int CharacterOf(const std::string& name) {
    if (name == "space") return ' ';
    if (name == "del") return 127;
    if (name.size() == 1) return static_cast<unsigned char>(name[0]);
    return -1;
}

// "char C [at X Y]" starts a glyph; "# ..." lines are comments; rows are '#'/'.'.
bool ReadGlyphs(const std::string& path, std::map<int, Glyph>& glyphs) {
    std::ifstream in(path);
    if (!in) return Fail("cannot read " + path);
    std::string line;
    int lineNumber = 0;
    Glyph* current = nullptr;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = path + ":" + std::to_string(lineNumber) + ": ";
        if (line.empty() || line.rfind("# ", 0) == 0) continue;
        if (line.rfind("char ", 0) == 0) {
            std::istringstream words(line.substr(5));
            std::string name, at;
            words >> name;
            const int character = CharacterOf(name);
            if (character < kFirstCharacter || character >= kFirstCharacter + kCharacterCount) {
                return Fail(where + "unknown character \"" + name + "\"");
            }
            if (glyphs.count(character)) return Fail(where + "character \"" + name + "\" given twice");
            Glyph glyph;
            glyph.line = lineNumber;
            if (words >> at) {
                if (at != "at" || !(words >> glyph.x >> glyph.y)) return Fail(where + "expected \"at X Y\"");
            }
            current = &(glyphs[character] = glyph);
            continue;
        }
        if (line.find_first_not_of("#.") != std::string::npos) return Fail(where + "row with other than # and .");
        if (!current) return Fail(where + "row before the first glyph");
        current->rows.push_back(line);
    }
    for (int c = kFirstCharacter; c < kFirstCharacter + kCharacterCount; ++c) {
        auto found = glyphs.find(c);
        if (found == glyphs.end()) return Fail("glyph missing for character code " + std::to_string(c));
        const Glyph& glyph = found->second;
        for (const std::string& row : glyph.rows) {
            if (glyph.x < 0 || glyph.x + int(row.size()) > kCellWidth) {
                return Fail("glyph at line " + std::to_string(glyph.line) + " is wider than its cell");
            }
        }
        if (glyph.y < 0 || glyph.y + int(glyph.rows.size()) > kCellHeight) {
            return Fail("glyph at line " + std::to_string(glyph.line) + " is taller than its cell");
        }
    }
    return true;
}

// The cell's pixels as one string, to prove no two printable characters look alike.
std::string CellPicture(const Glyph& glyph) {
    std::string picture(size_t(kCellWidth) * kCellHeight, '.');
    for (size_t row = 0; row < glyph.rows.size(); ++row)
        for (size_t column = 0; column < glyph.rows[row].size(); ++column)
            if (glyph.rows[row][column] == '#') picture[(glyph.y + row) * kCellWidth + glyph.x + column] = '#';
    return picture;
}

bool WriteFont(const std::map<int, Glyph>& glyphs, const std::string& path) {
    std::set<std::string> pictures;
    Canvas canvas(kCellWidth * kCharacterCount, kCellHeight);
    const Rgba white{255, 255, 255, 255};
    for (const auto& [character, glyph] : glyphs) {
        const std::string picture = CellPicture(glyph);
        if (character != ' ' && picture.find('#') == std::string::npos) {
            return Fail("glyph at line " + std::to_string(glyph.line) + " is empty");
        }
        if (!pictures.insert(picture).second) {
            return Fail("glyph at line " + std::to_string(glyph.line) + " looks like another one");
        }
        const int cellX = (character - kFirstCharacter) * kCellWidth;
        for (int i = 0; i < kCellWidth * kCellHeight; ++i) {
            if (picture[size_t(i)] == '#') canvas.Set(cellX + i % kCellWidth, i / kCellWidth, white);
        }
    }
    return canvas.Write(path) || Fail("cannot write " + path);
}

// ---- buttons ----

const Rgba kBorder{28, 18, 38, 255};
const Rgba kLight{184, 174, 204, 255};
const Rgba kFace{128, 112, 150, 255};
const Rgba kShadow{64, 46, 80, 255};
const Rgba kInk{20, 12, 28, 255};

// A raised button: dark border, light top-left edge, shaded bottom-right edge.
void DrawButton(Canvas& canvas, int x, int y, int width, int height) {
    canvas.Fill(x, y, width, height, kBorder);
    canvas.Fill(x + 1, y + 1, width - 2, height - 2, kShadow);
    canvas.Fill(x + 1, y + 1, width - 3, height - 3, kLight);
    canvas.Fill(x + 2, y + 2, width - 4, height - 4, kFace);
}

// Solid triangle of four rows, eight pixels wide at its base, centred in the box.
void DrawArrow(Canvas& canvas, int x, int y, int width, int height, bool up) {
    const int centreLeft = x + width / 2 - 1;
    const int top = y + (height - 4) / 2;
    for (int step = 0; step < 4; ++step) {
        const int row = up ? top + step : top + 3 - step;
        canvas.Fill(centreLeft - step, row, 2 + 2 * step, 1, kInk);
    }
}

// Capitals five pixels high (three wide, N four) for the button labels.
const std::map<char, std::vector<std::string>> kTinyLetters = {
    {'I', {"###", ".#.", ".#.", ".#.", "###"}}, {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
    {'S', {"###", "#..", "###", "..#", "###"}}, {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
    {'E', {"###", "#..", "##.", "#..", "###"}}, {'L', {"#..", "#..", "#..", "#..", "###"}},
};

void DrawLabel(Canvas& canvas, int x, int y, int width, int height, const std::string& text) {
    int textWidth = -1;
    for (char letter : text) textWidth += int(kTinyLetters.at(letter)[0].size()) + 1;
    int penX = x + (width - textWidth) / 2;
    const int penY = y + (height - 5) / 2;
    for (char letter : text) {
        const std::vector<std::string>& rows = kTinyLetters.at(letter);
        const int letterWidth = int(rows[0].size());
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < letterWidth; ++column)
                if (rows[size_t(row)][size_t(column)] == '#') canvas.Set(penX + column, penY + row, kInk);
        penX += letterWidth + 1;
    }
}

bool WriteButtons(const std::string& folder) {
    Canvas pair(32, 12);
    DrawButton(pair, 0, 0, 16, 12);
    DrawArrow(pair, 0, 0, 16, 12, false);
    DrawButton(pair, 16, 0, 16, 12);
    DrawArrow(pair, 16, 0, 16, 12, true);
    if (!pair.Write(folder + "/button1.png")) return Fail("cannot write button1.png");

    Canvas navigation(32, 38);
    DrawButton(navigation, 0, 0, 16, 14);
    DrawArrow(navigation, 0, 0, 16, 14, false);
    DrawButton(navigation, 16, 0, 16, 14);
    DrawArrow(navigation, 16, 0, 16, 14, true);
    DrawButton(navigation, 0, 14, 32, 12);
    DrawLabel(navigation, 0, 14, 32, 12, "INS");
    DrawButton(navigation, 0, 26, 32, 12);
    DrawLabel(navigation, 0, 26, 32, 12, "DEL");
    if (!navigation.Write(folder + "/button_navrow.png")) return Fail("cannot write button_navrow.png");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <font_glyphs.txt> <output folder>\n", argv[0]);
        return 2;
    }
    std::map<int, Glyph> glyphs;
    if (!ReadGlyphs(argv[1], glyphs)) return 1;
    if (!WriteFont(glyphs, std::string(argv[2]) + "/vexafont.png")) return 1;
    if (!WriteButtons(argv[2])) return 1;
    return 0;
}
