// The drawing state over the driver and a recording GL: reset, matrix
// composition and its stack, images with their flags and frames, fonts cut
// from strips (including the generated one), text alignment, the default font.
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>

#include "graphics/Font.h"
#include "graphics/GraphicsContext.h"
#include "graphics/Image.h"
#include "graphics/ImageData.h"
#include "graphics/gxtkGraphics.h"
#include "io/DataPath.h"
#include "tests/support/TempFolder.h"
#include "tests/unit/graphics/FakeGl.h"

namespace {

struct ImageRectCall {
    int sourceX, sourceY, sourceWidth, sourceHeight;
    float x, y;
};

// Logs glyph draws, then draws them as usual.
class LoggingContext : public c_GraphicsContext {
public:
    std::vector<ImageRectCall> rects;
    void DrawImageRect(const c_Image* image, int sourceX, int sourceY, int sourceWidth, int sourceHeight, float x,
                       float y) override {
        rects.push_back({sourceX, sourceY, sourceWidth, sourceHeight, x, y});
        c_GraphicsContext::DrawImageRect(image, sourceX, sourceY, sourceWidth, sourceHeight, x, y);
    }
};

// Writes a width x height RGBA PNG whose pixel (x, y) is colour(x, y).
std::string WritePng(
    const std::string& path, int width, int height,
    const std::function<uint32_t(int, int)>& rgba = [](int, int) { return 0xFFFFFFFFu; }) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = rgba(x, y);
            unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = c >> 24, p[1] = (c >> 16) & 255, p[2] = (c >> 8) & 255, p[3] = c & 255;
        }
    stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4);
    return path;
}

class DrawingStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedGeneration_ = ContextGeneration();
        ContextGeneration() = 1;
        graphics = std::make_unique<gxtkGraphics>(
            [](int* width, int* height, int* framebufferWidth, int* framebufferHeight) {
                *width = 640, *height = 475, *framebufferWidth = 640, *framebufferHeight = 475;
            },
            &gl);
        graphics->SetKeepFrames(false);
        context.device = graphics.get();
        context.deviceWidth = 640;
        context.deviceHeight = 475;
        graphics->BeginFrame();
        context.ResetDrawingState();
    }
    void TearDown() override {
        context.renderTarget = nullptr;
        context.device = nullptr;
        graphics.reset();
        ContextGeneration() = savedGeneration_;
    }

    // An image of one frame over a fresh surface of the given size.
    std::shared_ptr<c_Image> ImageOfSize(int width, int height, int flags = 0) {
        auto image = std::make_shared<c_Image>();
        image->Init(graphics->CreateSurface(width, height), 1, flags);
        return image;
    }

    // A font whose glyphs A and B advance by 8; B sits 3 lower.
    std::shared_ptr<c_Font> TwoLetterFont() {
        auto font = std::make_shared<c_Font>();
        font->pages.push_back(ImageOfSize(64, 16));
        font->pageCount = 1;
        font->firstCharacter = 65;
        font->height = 10;
        font->glyphs[65] = c_Glyph{0, 65, 0, 0, 8, 10, 8, 0, 0};
        font->glyphs[66] = c_Glyph{0, 66, 8, 0, 8, 10, 8, 0, 3};
        return font;
    }

    FakeGl gl;
    std::unique_ptr<gxtkGraphics> graphics;
    LoggingContext context;

private:
    int savedGeneration_ = 0;
};

TEST_F(DrawingStateTest, ResetGivesWhiteOpaqueBlendedAndUnclipped) {
    context.SetColor(10, 20, 30);
    context.SetAlpha(0.25f);
    context.SetBlend(1);
    context.SetScissor(5, 5, 10, 10);
    context.Translate(4, 4);
    context.PushMatrix();
    context.ResetDrawingState();

    EXPECT_EQ(context.renderTarget, graphics.get());
    EXPECT_FLOAT_EQ(context.red, 255);
    EXPECT_FLOAT_EQ(context.blue, 255);
    EXPECT_FLOAT_EQ(context.alpha, 1);
    EXPECT_EQ(context.blend, 0);
    EXPECT_EQ(context.matrixStackDepth, 0);
    EXPECT_EQ(context.transformed, 0);
    EXPECT_EQ(context.matrixDirty, 1);
    EXPECT_FLOAT_EQ(context.scissorWidth, 640);
    EXPECT_FLOAT_EQ(context.scissorHeight, 475);

    const unsigned char* word = graphics->ColourWord();
    EXPECT_EQ(word[0], 255);
    EXPECT_EQ(word[3], 255);
    EXPECT_EQ(gl.blendDestination, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_FALSE(gl.IsEnabled(GL_SCISSOR_TEST));

    context.DrawRect(1, 2, 3, 4);  // the identity reaches the driver with the first draw
    EXPECT_EQ(context.matrixDirty, 0);
    EXPECT_FALSE(graphics->Transformed());
    EXPECT_FLOAT_EQ(graphics->Vertices()[0].x, 1);
}

TEST_F(DrawingStateTest, ScissorValuesAreTruncated) {
    context.SetScissor(10.9f, 20.5f, 100.99f, 50.2f);
    EXPECT_EQ(gl.scissor[0], 10);
    EXPECT_EQ(gl.scissor[1], 475 - 20 - 50);
    EXPECT_EQ(gl.scissor[2], 100);
    EXPECT_FLOAT_EQ(context.scissorX, 10.9f);
}

TEST_F(DrawingStateTest, TransformsComposeAndReachTheDriverOnDraw) {
    context.Translate(10, 20);
    context.Scale(2, 3);
    EXPECT_FLOAT_EQ(context.ix, 2);
    EXPECT_FLOAT_EQ(context.jy, 3);
    EXPECT_FLOAT_EQ(context.tx, 10);
    EXPECT_FLOAT_EQ(context.ty, 20);
    EXPECT_EQ(context.transformed, 1);
    EXPECT_FALSE(graphics->Transformed()) << "nothing is sent before a draw";
    context.DrawRect(1, 1, 1, 1);
    EXPECT_FLOAT_EQ(graphics->Vertices()[0].x, 12);
    EXPECT_FLOAT_EQ(graphics->Vertices()[0].y, 23);
    EXPECT_FLOAT_EQ(graphics->Vertices()[2].x, 14);
    EXPECT_FLOAT_EQ(graphics->Vertices()[2].y, 26);

    context.Scale(0.5f, 1.0f / 3);
    context.Translate(-10, -20);
    EXPECT_EQ(context.transformed, 0) << "back at the identity";
}

TEST_F(DrawingStateTest, RotateQuarterTurn) {
    context.Rotate(90);
    EXPECT_NEAR(context.ix, 0, 1e-6);
    EXPECT_NEAR(context.iy, -1, 1e-6);
    EXPECT_NEAR(context.jx, 1, 1e-6);
    EXPECT_NEAR(context.jy, 0, 1e-6);
}

TEST_F(DrawingStateTest, MatrixStackRestoresAndGrows) {
    for (int i = 0; i < 40; ++i) {  // 240 floats: past the first 192
        context.PushMatrix();
        context.Translate(1, 0);
    }
    EXPECT_EQ(context.matrixStackDepth, 240);
    EXPECT_GE(context.matrixStack.size(), 240u);
    EXPECT_FLOAT_EQ(context.tx, 40);
    for (int i = 0; i < 39; ++i) context.PopMatrix();
    EXPECT_FLOAT_EQ(context.tx, 1);
    EXPECT_EQ(context.transformed, 1);
    context.PopMatrix();
    EXPECT_FLOAT_EQ(context.tx, 0);
    EXPECT_EQ(context.transformed, 0);
    EXPECT_EQ(context.matrixDirty, 1);

    context.Translate(5, 5);
    context.PopMatrix();  // unbalanced: keeps the matrix
    EXPECT_EQ(context.matrixStackDepth, 0);
    EXPECT_FLOAT_EQ(context.tx, 5);
}

TEST_F(DrawingStateTest, NothingIsDrawnOutsideARenderStep) {
    context.renderTarget = nullptr;
    context.DrawRect(0, 0, 5, 5);
    context.SetFont(TwoLetterFont());
    context.DrawText("AB", 0, 0, 0, 0);
    EXPECT_EQ(graphics->VertexCount(), 0);
}

// ---- text ----

TEST_F(DrawingStateTest, TextAlignmentMovesThePen) {
    context.SetFont(TwoLetterFont());
    context.DrawText("AB", 100, 20, 0.5f, 0);
    ASSERT_EQ(context.rects.size(), 2u);
    EXPECT_FLOAT_EQ(context.rects[0].x, 92);
    EXPECT_FLOAT_EQ(context.rects[0].y, 20);
    EXPECT_FLOAT_EQ(context.rects[1].x, 100);
    EXPECT_FLOAT_EQ(context.rects[1].y, 23) << "the y offset places the glyph";
    EXPECT_EQ(context.rects[1].sourceX, 8);

    context.rects.clear();
    context.DrawText("AB", 100, 20, 0.5f, 0.5f);  // centred: 20 - 10 * 0.5
    EXPECT_FLOAT_EQ(context.rects[0].y, 15);
    context.rects.clear();
    context.DrawText("A", 3, 3, 1, 1);  // int(3 - 8) and int(3 - 10): truncation toward zero
    EXPECT_FLOAT_EQ(context.rects[0].x, -5);
    EXPECT_FLOAT_EQ(context.rects[0].y, -7);
}

TEST_F(DrawingStateTest, MissingGlyphsAreSkippedWithoutMovingThePen) {
    context.SetFont(TwoLetterFont());
    const String::CodePoint outside[] = {7, 200, 65, 0x263A, 66};
    const String text(outside, 5);
    EXPECT_FLOAT_EQ(context.TextWidth(text), 16);
    context.DrawText(text, 0, 0, 0, 0);
    ASSERT_EQ(context.rects.size(), 2u);
    EXPECT_FLOAT_EQ(context.rects[1].x, 8);

    context.rects.clear();
    const String::CodePoint none[] = {1, 31, 128, 1000};
    EXPECT_FLOAT_EQ(context.TextWidth(String(none, 4)), 0);
    context.DrawText(String(none, 4), 0, 0, 0, 0);
    EXPECT_TRUE(context.rects.empty());
}

TEST_F(DrawingStateTest, TextWithoutAFontDrawsNothing) {
    EXPECT_FLOAT_EQ(context.TextWidth("AB"), 0);
    context.DrawText("AB", 0, 0, 0, 0);
    EXPECT_TRUE(context.rects.empty());
}

// ---- images ----

TEST_F(DrawingStateTest, OneFrameImagesCoverTheWholeSurface) {
    auto image = ImageOfSize(40, 20);
    EXPECT_TRUE(image->flags & c_Image::WholeSurface);
    context.DrawImage(image.get(), 5, 6, 0);
    EXPECT_EQ(graphics->BatchSurface(), image->surface.get());
    EXPECT_FLOAT_EQ(graphics->Vertices()[2].x, 45);
    EXPECT_FLOAT_EQ(graphics->Vertices()[2].y, 26);
}

TEST_F(DrawingStateTest, PaddingAndCentreHandle) {
    auto image = ImageOfSize(40, 20, c_Image::PadX | c_Image::PadY | c_Image::CentreHandle);
    EXPECT_EQ(image->Width(), 38);
    EXPECT_EQ(image->Height(), 18);
    EXPECT_EQ(image->frames[0].x, 1);
    EXPECT_EQ(image->frames[0].y, 1);
    EXPECT_FLOAT_EQ(image->handleX, 19);
    EXPECT_FLOAT_EQ(image->handleY, 9);
    EXPECT_EQ(image->flags, c_Image::PadX | c_Image::PadY) << "the centre bit is not kept, nor is it whole";

    context.DrawImage(image.get(), 100, 100, 0);  // a frame: drawn as a rectangle of the surface
    const gxtkVertex* v = graphics->Vertices();
    EXPECT_FLOAT_EQ(v[0].x, 81);
    EXPECT_FLOAT_EQ(v[0].y, 91);
    EXPECT_FLOAT_EQ(v[0].u, 1.0f / 40);
    EXPECT_FLOAT_EQ(v[2].x, 81 + 38);

    context.DrawImageRect(image.get(), 2, 3, 4, 5, 100, 100);
    EXPECT_FLOAT_EQ(graphics->Vertices()[4].u, 3.0f / 40) << "source rectangle inside frame 0";
    EXPECT_FLOAT_EQ(graphics->Vertices()[4].v, 4.0f / 20);
}

TEST_F(DrawingStateTest, FramesSideBySideAndInCells) {
    auto strip = std::make_shared<c_Image>();
    strip->Init(graphics->CreateSurface(40, 20), 4, 0);
    ASSERT_EQ(strip->FrameCount(), 4);
    EXPECT_EQ(strip->Width(), 10);
    EXPECT_EQ(strip->frames[3].x, 30);
    EXPECT_FALSE(strip->flags & c_Image::WholeSurface);
    context.DrawImage(strip.get(), 0, 0, 2);
    EXPECT_FLOAT_EQ(graphics->Vertices()[0].u, 20.0f / 40);
    context.DrawImage(strip.get(), 0, 0, 4);  // no such frame
    context.DrawImage(strip.get(), 0, 0, -1);
    EXPECT_EQ(graphics->VertexCount(), 4);

    auto cells = std::make_shared<c_Image>();
    cells->Init(graphics->CreateSurface(40, 20), 10, 0, 15, 10, 4, 0, nullptr, 0, 0, 40, 20);
    EXPECT_EQ(cells->frames[0].x, 10);
    EXPECT_EQ(cells->frames[1].x, 25);
    EXPECT_EQ(cells->frames[2].x, 0) << "wraps to the left edge one cell lower";
    EXPECT_EQ(cells->frames[2].y, 10);
    EXPECT_EQ(cells->frames[3].x, 15);

    auto grabbed = GrabImage(ImageOfSize(64, 64), 8, 8, 16, 16, 2, 0);
    ASSERT_NE(grabbed, nullptr);
    EXPECT_EQ(grabbed->frames[1].x, 24);
    EXPECT_EQ(grabbed->frames[1].y, 8);
    EXPECT_NE(grabbed->source, nullptr);
    EXPECT_EQ(GrabImage(strip, 0, 0, 1, 1, 1, 0), nullptr) << "only one-frame images can be grabbed from";
}

// Runtime errors print to standard output; the death test reads standard error.
void WithReportOnStandardError() {
    dup2(STDERR_FILENO, STDOUT_FILENO);
    std::freopen("/dev/null", "r", stdin);
}

TEST_F(DrawingStateTest, SettingUpTwiceIsARuntimeError) {
    auto image = ImageOfSize(8, 8);
    EXPECT_EXIT(
        {
            WithReportOnStandardError();
            image->Init(graphics->CreateSurface(8, 8), 1, 0);
        },
        ::testing::ExitedWithCode(255), "Korvanth Runtime Error : Image already initialized");
}

TEST_F(DrawingStateTest, FramesOutsideTheSurfaceAreARuntimeError) {
    EXPECT_EXIT(
        {
            WithReportOnStandardError();
            c_Image image;
            image.Init(graphics->CreateSurface(40, 20), 0, 0, 10, 10, 9, 0, nullptr, 0, 0, 40, 20);
        },
        ::testing::ExitedWithCode(255), "Image frame outside surface");
    EXPECT_EXIT(
        {
            WithReportOnStandardError();
            c_Image image;
            image.Init(graphics->CreateSurface(40, 20), 0, 0, 41, 10, 1, 0, nullptr, 0, 0, 40, 20);
        },
        ::testing::ExitedWithCode(255), "Image frame outside surface");
}

// ---- loading ----

// Found by fuzzing: a run-length TGA of a few dozen bytes claiming 9538 x 24328
// pixels made the decoder allocate hundreds of megabytes.
TEST(ImageData, TinyFileClaimingAHugeImageIsRefused) {
    TempFolder folder("zrb-graphics");
    ASSERT_TRUE(folder.Made());
    const std::string path = folder.Path("huge.tga");
    const unsigned char header[18] = {0, 0, 10, 0,    0,    0,    0,    0,  0,
                                      0, 0, 0,  0x42, 0x25, 0x08, 0x5F, 32, 0x28};  // 9538 x 24328, RLE RGBA
    const unsigned char runs[23] = {0xFF, 1, 2, 3, 4, 0xFF, 5, 6, 7, 8, 0xFF, 9, 10, 11, 12, 0xFF, 1, 1, 1, 1, 0, 0, 0};
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(header, 1, sizeof header, file);
    std::fwrite(runs, 1, sizeof runs, file);
    std::fclose(file);
    EXPECT_FALSE(LoadImageData(String(path)).has_value());
}

// Found by fuzzing: a 111-byte PNG whose data chunk claims 1 GiB made the
// decoder grow its buffer to that size before reading anything.
TEST(ImageData, PngChunkClaimingMoreThanTheFileIsRefused) {
    const std::string hex =
        "89504e470d0a1a0a0000000d494844520000000700000005080400000023933e534000003549444154785e636492b742020c"
        "33b65e7acfa3e996dc3077d7f52f828c7ade28b2471efe93b6082dea5f73f219b3822d635439b22c0089c4183d45b7aaa1"
        "0000000049454e44ae426082";
    TempFolder folder("zrb-graphics");
    ASSERT_TRUE(folder.Made());
    const std::string path = folder.Path("claim.png");
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    for (size_t i = 0; i + 1 < hex.size(); i += 2) std::fputc(std::stoi(hex.substr(i, 2), nullptr, 16), file);
    std::fclose(file);
    EXPECT_FALSE(LoadImageData(String(path)).has_value());
}

TEST_F(DrawingStateTest, LoadImageFromAFile) {
    TempFolder folder("zrb-graphics");
    ASSERT_TRUE(folder.Made());
    const std::string path = WritePng(folder.Path("pic.png"), 12, 6, [](int x, int) {
        return x < 6 ? 0xFF000080u : 0x00FF00FFu;  // left half red at alpha 128
    });
    auto image = LoadImage(context, path, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), 12);
    EXPECT_EQ(image->Height(), 6);
    EXPECT_TRUE(image->flags & c_Image::WholeSurface);
    EXPECT_FLOAT_EQ(image->handleX, 0);
    EXPECT_EQ(image->surface->depth, 4);
    EXPECT_EQ(image->surface->pixels[0], 255 * 128 / 255);
    EXPECT_EQ(image->surface->textureGeneration, 1) << "the texture exists right after loading";

    auto frames = LoadImage(context, path, 3, 0);
    ASSERT_NE(frames, nullptr);
    EXPECT_EQ(frames->Width(), 4);
    auto cells = LoadImage(context, path, 6, 3, 4, 0);
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->frames[3].y, 3);

    EXPECT_EQ(LoadImage(context, folder.Path("missing.png"), 0), nullptr);
    WritePng(folder.Path("broken.png"), 1, 1);
    std::FILE* broken = std::fopen((folder.Path("broken.png")).c_str(), "r+b");
    std::fputs("garbage!", broken);
    std::fclose(broken);
    EXPECT_EQ(LoadImage(context, folder.Path("broken.png"), 0), nullptr);
}

TEST_F(DrawingStateTest, FontFromAStrip) {
    TempFolder folder("zrb-graphics");
    ASSERT_TRUE(folder.Made());
    const std::string path = WritePng(folder.Path("font.png"), 768, 8);
    auto font = LoadFont(context, path, false);
    ASSERT_NE(font, nullptr);
    const c_Glyph* a = font->FindGlyph('A');
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->x, 264);
    EXPECT_EQ(a->y, 0);
    EXPECT_EQ(a->width, 8);
    EXPECT_EQ(a->height, 8);
    EXPECT_EQ(a->advance, 8);
    EXPECT_FLOAT_EQ(font->height, 8);
    EXPECT_EQ(font->firstCharacter, 32);
    EXPECT_EQ(font->glyphs.size(), 96u);
    EXPECT_NE(font->FindGlyph(127), nullptr);
    EXPECT_EQ(font->FindGlyph(128), nullptr);

    auto padded = LoadFont(context, path, true);
    ASSERT_NE(padded, nullptr);
    a = padded->FindGlyph('A');
    EXPECT_EQ(a->x, 265);
    EXPECT_EQ(a->y, 1);
    EXPECT_EQ(a->width, 6);
    EXPECT_EQ(a->advance, 6);
    EXPECT_FLOAT_EQ(padded->height, 6);

    EXPECT_EQ(LoadFont(context, WritePng(folder.Path("narrow.png"), 95, 8), false), nullptr);
    EXPECT_EQ(LoadFont(context, folder.Path("missing.png"), false), nullptr);
}

TEST_F(DrawingStateTest, DefaultFontIsTriedOnEveryCallUntilItLoads) {
    TempFolder folder("zrb-graphics");
    ASSERT_TRUE(folder.Made());
    ASSERT_TRUE(folder.MakeFolder("data"));
    SetAppDirectory(String(folder.Path()));
    context.SetFont(nullptr);
    EXPECT_EQ(context.currentFont, nullptr);
    EXPECT_EQ(context.defaultFont, nullptr);

    WritePng(folder.Path("data/vexa_font.png"), 96 * 10, 12);
    context.SetFont(nullptr);
    ASSERT_NE(context.defaultFont, nullptr);
    EXPECT_EQ(context.currentFont, context.defaultFont);
    EXPECT_EQ(context.currentFont->FindGlyph('!')->x, 11) << "the default font is padded";

    auto other = TwoLetterFont();
    context.SetFont(other);
    EXPECT_EQ(context.currentFont, other);
    context.SetFont(nullptr);
    EXPECT_NE(context.currentFont, other);
}

// The build's data folder: the environment's, else the one this test was built for.
std::string DataFolder() {
    const char* fromEnvironment = std::getenv("ZRB_DATA_DIR");
    return fromEnvironment && *fromEnvironment ? fromEnvironment : ZRB_TEST_DATA_DIR;
}

// The generated font: every printable character has its own, non-empty
// picture, drawn in white on a clear ground, and the metrics the screen uses.
TEST(GeneratedImages, FontHasDistinctWhiteGlyphsInElevenPixelCells) {
    std::optional<ImageData> font = LoadImageData(String(DataFolder() + "/vexafont.png"));
    ASSERT_TRUE(font.has_value()) << "the image generator has not run";
    ASSERT_EQ(font->width, 1056);
    ASSERT_EQ(font->height, 12);
    ASSERT_EQ(font->depth, 4);
    std::set<std::string> pictures;
    for (int cell = 0; cell < 96; ++cell) {
        std::string picture;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 11; ++x) {
                const unsigned char* p = &font->pixels[(static_cast<size_t>(y) * 1056 + cell * 11 + x) * 4];
                ASSERT_TRUE(p[3] == 0 || (p[3] == 255 && p[0] == 255 && p[1] == 255 && p[2] == 255));
                picture += p[3] ? '#' : '.';
            }
        const bool blank = picture.find('#') == std::string::npos;
        EXPECT_EQ(blank, cell == 0) << "character " << cell + 32;
        EXPECT_TRUE(pictures.insert(picture).second) << "character " << cell + 32 << " looks like another";
    }
}

TEST(GeneratedImages, ButtonsHaveTheirSizes) {
    const std::string dataDir = DataFolder();
    std::optional<ImageData> pair = LoadImageData(String(dataDir + "/button1.png"));
    ASSERT_TRUE(pair.has_value());
    EXPECT_EQ(pair->width, 32);
    EXPECT_EQ(pair->height, 12);
    std::optional<ImageData> navigation = LoadImageData(String(dataDir + "/button_navrow.png"));
    ASSERT_TRUE(navigation.has_value());
    EXPECT_EQ(navigation->width, 32);
    EXPECT_EQ(navigation->height, 38);
    // The down and up halves are mirror images of each other's arrow, not copies.
    auto half = [&](int left) {
        std::string picture;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) picture += static_cast<char>(pair->pixels[(y * 32 + left + x) * 4]);
        return picture;
    };
    EXPECT_NE(half(0), half(16));
}

}  // namespace
