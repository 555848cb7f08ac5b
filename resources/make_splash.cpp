// Draws Tamvel's splash picture at build time: 640 x 480 pixels, 256 colours, written as an
// 8-bit palette BMP and as a C++ source that embeds the same bytes in the program.
//   make_splash OUT.bmp OUT.cpp

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Palette: 0-159 background gradient, then a few drawing colours.
constexpr int kGradientColours = 160;
constexpr std::uint8_t kGrid = 160;
constexpr std::uint8_t kAxis = 161;
constexpr std::uint8_t kSeries = 162;
constexpr std::uint8_t kFit = 163;
constexpr std::uint8_t kWhite = 164;
constexpr std::uint8_t kShadow = 165;
constexpr std::uint8_t kBorder = 166;
constexpr std::uint8_t kPanel = 167;
constexpr std::uint8_t kSoftText = 168;

struct Rgb {
    std::uint8_t r, g, b;
};

std::array<Rgb, 256> MakePalette() {
    std::array<Rgb, 256> palette{};
    const Rgb top{10, 26, 58}, bottom{22, 110, 130};
    for (int i = 0; i < kGradientColours; ++i) {
        const double t = i / double(kGradientColours - 1);
        auto mix = [t](int a, int b) { return std::uint8_t(std::lround(a + (b - a) * t)); };
        palette[i] = {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)};
    }
    palette[kGrid] = {52, 96, 128};
    palette[kAxis] = {190, 210, 225};
    palette[kSeries] = {255, 160, 40};
    palette[kFit] = {255, 235, 120};
    palette[kWhite] = {255, 255, 255};
    palette[kShadow] = {4, 12, 28};
    palette[kBorder] = {120, 190, 215};
    palette[kPanel] = {14, 40, 72};
    palette[kSoftText] = {170, 205, 225};
    for (int i = kSoftText + 1; i < 256; ++i) palette[i] = {128, 128, 128};
    return palette;
}

class Canvas {
  public:
    Canvas() : m_pixels(kWidth * kHeight, 0) {}
    void Set(int x, int y, std::uint8_t colour) {
        if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) m_pixels[y * kWidth + x] = colour;
    }
    void Fill(int x0, int y0, int x1, int y1, std::uint8_t colour) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) Set(x, y, colour);
    }
    void Dot(int x, int y, int radius, std::uint8_t colour) {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (dx * dx + dy * dy <= radius * radius) Set(x + dx, y + dy, colour);
    }
    void Line(double x0, double y0, double x1, double y1, int radius, std::uint8_t colour,
              int dash = 0) {
        const int steps = int(std::max(std::abs(x1 - x0), std::abs(y1 - y0))) + 1;
        for (int i = 0; i <= steps; ++i) {
            if (dash > 0 && (i / dash) % 2 == 1) continue;
            const double t = i / double(steps);
            Dot(int(std::lround(x0 + (x1 - x0) * t)), int(std::lround(y0 + (y1 - y0) * t)), radius,
                colour);
        }
    }
    const std::vector<std::uint8_t>& Pixels() const { return m_pixels; }

  private:
    std::vector<std::uint8_t> m_pixels;
};

// A 5 x 7 pixel font for the few letters the picture uses.
const std::map<char, std::array<const char*, 7>>& Glyphs() {
    static const std::map<char, std::array<const char*, 7>> glyphs = {
        {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
        {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
        {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
        {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
        {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
        {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
        {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
        {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
        {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
        {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
        {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
        {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
        {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
        {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
        {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
        {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
        {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
        {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
        {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
        {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
        {' ', {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
    };
    return glyphs;
}

int TextWidth(const std::string& text, int scale) { return int(text.size()) * 6 * scale - scale; }

void Text(Canvas& canvas, const std::string& text, int x, int y, int scale, std::uint8_t colour) {
    for (char ch : text) {
        const auto& rows = Glyphs().at(ch);
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column)
                if (rows[row][column] == '#')
                    canvas.Fill(x + column * scale, y + row * scale, x + (column + 1) * scale,
                                y + (row + 1) * scale, colour);
        x += 6 * scale;
    }
}

void CentredText(Canvas& canvas, const std::string& text, int y, int scale, std::uint8_t colour,
                 int shadow) {
    const int x = (kWidth - TextWidth(text, scale)) / 2;
    if (shadow > 0) Text(canvas, text, x + shadow, y + shadow, scale, kShadow);
    Text(canvas, text, x, y, scale, colour);
}

Canvas Draw() {
    Canvas canvas;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double t = (y * 0.8 + x * 0.2 * kHeight / kWidth) / kHeight;
            canvas.Set(
                x, y, std::uint8_t(std::clamp(int(t * kGradientColours), 0, kGradientColours - 1)));
        }
    canvas.Fill(0, 0, kWidth, 3, kBorder);
    canvas.Fill(0, kHeight - 3, kWidth, kHeight, kBorder);
    canvas.Fill(0, 0, 3, kHeight, kBorder);
    canvas.Fill(kWidth - 3, 0, kWidth, kHeight, kBorder);

    CentredText(canvas, "Tamvel", 44, 12, kWhite, 5);
    CentredText(canvas, "TSP UTILITY PROGRAM", 150, 3, kSoftText, 2);

    // A time series with its fitted trend: what TSP is used for.
    const int left = 70, right = 570, top = 200, bottom = 400;
    canvas.Fill(left, top, right, bottom, kPanel);
    for (int x = left; x <= right; x += 50) canvas.Line(x, top, x, bottom, 0, kGrid);
    for (int y = top; y <= bottom; y += 40) canvas.Line(left, y, right, y, 0, kGrid);
    canvas.Line(left, bottom, right, bottom, 1, kAxis);
    canvas.Line(left, top, left, bottom, 1, kAxis);

    const int points = 41;
    std::vector<double> values(points);
    std::uint32_t seed = 20240601u;
    double level = 0;
    for (int i = 0; i < points; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = ((seed >> 8) % 1000) / 1000.0 - 0.5;
        level = 0.55 * level + noise;
        values[i] = 0.018 * i + 0.35 * level + 0.12 * std::sin(i * 0.7);
    }
    const double low = *std::min_element(values.begin(), values.end()) - 0.1;
    const double high = *std::max_element(values.begin(), values.end()) + 0.1;
    auto px = [&](int i) { return left + 10 + (right - left - 20) * i / double(points - 1); };
    auto py = [&](double v) {
        return bottom - 10 - (bottom - top - 20) * (v - low) / (high - low);
    };
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int i = 0; i < points; ++i) {
        sx += i, sy += values[i], sxx += double(i) * i, sxy += i * values[i];
    }
    const double slope = (points * sxy - sx * sy) / (points * sxx - sx * sx);
    const double intercept = (sy - slope * sx) / points;
    canvas.Line(px(0), py(intercept), px(points - 1), py(intercept + slope * (points - 1)), 1, kFit,
                9);
    for (int i = 1; i < points; ++i)
        canvas.Line(px(i - 1), py(values[i - 1]), px(i), py(values[i]), 1, kSeries);
    for (int i = 0; i < points; i += 4) canvas.Dot(int(px(i)), int(py(values[i])), 4, kSeries);

    CentredText(canvas, "VERSION 1.0", 430, 2, kSoftText, 0);
    return canvas;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(value & 0xff);
    out.push_back((value >> 8) & 0xff);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

std::vector<std::uint8_t> EncodeBmp(const Canvas& canvas) {
    const std::uint32_t headers = 14 + 40 + 256 * 4;
    const std::uint32_t rowBytes = (kWidth + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * kHeight;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, headers + imageBytes);
    Put32(out, 0);
    Put32(out, headers);
    Put32(out, 40);  // BITMAPINFOHEADER
    Put32(out, kWidth);
    Put32(out, kHeight);  // positive: rows bottom-up
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // no compression
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 256);
    Put32(out, 0);
    for (const Rgb& colour : MakePalette()) {
        out.push_back(colour.b);
        out.push_back(colour.g);
        out.push_back(colour.r);
        out.push_back(0);
    }
    for (int y = kHeight - 1; y >= 0; --y) {
        const auto* row = &canvas.Pixels()[std::size_t(y) * kWidth];
        out.insert(out.end(), row, row + kWidth);
        out.insert(out.end(), rowBytes - kWidth, 0);
    }
    return out;
}

bool WriteSource(const std::vector<std::uint8_t>& bytes, const char* path) {
    std::ofstream out(path, std::ios::binary);
    out << "// Generated by make_splash: the splash picture as an 8-bit palette BMP.\n"
           "#include <cstddef>\n"
           "namespace tamvel {\n"
           "extern const unsigned char kSplashBitmap[];\n"
           "extern const std::size_t kSplashBitmapSize;\n"
           "const unsigned char kSplashBitmap[] = {\n";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out << unsigned(bytes[i]) << (i % 32 == 31 ? ",\n" : ",");
    }
    out << "};\nconst std::size_t kSplashBitmapSize = sizeof(kSplashBitmap);\n}  // namespace "
           "tamvel\n";
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_splash OUT.bmp OUT.cpp\n");
        return 2;
    }
    const std::vector<std::uint8_t> bmp = EncodeBmp(Draw());
    std::ofstream picture(argv[1], std::ios::binary);
    picture.write(reinterpret_cast<const char*>(bmp.data()), std::streamsize(bmp.size()));
    picture.close();
    if (!picture || !WriteSource(bmp, argv[2])) {
        std::fprintf(stderr, "make_splash: cannot write the output\n");
        return 1;
    }
    return 0;
}
