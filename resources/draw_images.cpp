// Draws every embedded image of the user interface with QPainter and writes them
// into the folder given as the only argument. Run through make_images.sh; the
// PNGs it writes are committed, so the program is not part of a normal build.
//
// The buttons are drawn at twice the 30-pixel height the image buttons scale to,
// with bold glyphs, so they stay legible after the smooth downscale.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// One palette for everything: dark slate surfaces, a single blue accent.
const QColor kAccent(0x2f, 0x80, 0xed);
const QColor kAccentLight(0x4d, 0x97, 0xf7);
const QColor kAccentDark(0x1c, 0x5c, 0xbd);
const QColor kSlate(0x3a, 0x42, 0x50);
const QColor kSlateLight(0x4b, 0x56, 0x68);
const QColor kGlyph(0xf4, 0xf7, 0xfb);
const QColor kIconStroke(0xdd, 0xe4, 0xee);
const QColor kGreen(0x2e, 0xcc, 0x71);
const QColor kRed(0xe7, 0x4c, 0x3c);

constexpr int kButtonSize = 60;
constexpr int kIconSize = 64;

using Painter = std::function<void(QPainter&, double size)>;

QImage Draw(int width, int height, const std::function<void(QPainter&)>& paint)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paint(painter);
    return image;
}

// --- glyphs, drawn into a square of side s centred at the origin -------------

void FillPolygon(QPainter& p, std::initializer_list<QPointF> points, const QColor& colour)
{
    QPainterPath path;
    auto it = points.begin();
    path.moveTo(*it);
    for (++it; it != points.end(); ++it)
        path.lineTo(*it);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

void Bar(QPainter& p, double x, double y, double w, double h, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(x, y, w, h), w * 0.25, w * 0.25);
}

// The triangle's centroid sits slightly right of its box centre so it looks centred.
void PlayGlyph(QPainter& p, double s, const QColor& c)
{
    const double h = s * 0.5;
    FillPolygon(p, {{-s * 0.36, -h}, {s * 0.52, 0}, {-s * 0.36, h}}, c);
}

void PauseGlyph(QPainter& p, double s, const QColor& c)
{
    const double w = s * 0.3, h = s;
    Bar(p, -s * 0.42, -h / 2, w, h, c);
    Bar(p, s * 0.12, -h / 2, w, h, c);
}

void StopGlyph(QPainter& p, double s, const QColor& c)
{
    const double side = s * 0.86;
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(-side / 2, -side / 2, side, side), s * 0.1, s * 0.1);
}

// A triangle followed by a bar: one step forward.
void StepForwardGlyph(QPainter& p, double s, const QColor& c)
{
    const double h = s * 0.5;
    FillPolygon(p, {{-s * 0.5, -h}, {s * 0.26, 0}, {-s * 0.5, h}}, c);
    Bar(p, s * 0.26, -h, s * 0.22, s, c);
}

void StepBackGlyph(QPainter& p, double s, const QColor& c)
{
    p.save();
    p.scale(-1, 1);
    StepForwardGlyph(p, s, c);
    p.restore();
}

// A clockwise circular arrow with a gap at the top right.
void RestartGlyph(QPainter& p, double s, const QColor& c)
{
    const double r = s * 0.4;
    const double width = s * 0.17;
    QPen pen(c, width, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const double start = 75;  // degrees, counter-clockwise from three o'clock
    p.drawArc(QRectF(-r, -r, 2 * r, 2 * r), int(start * 16), int(255 * 16));
    // Arrow head at the arc's start, pointing clockwise along the circle.
    const double a = qDegreesToRadians(start);
    const QPointF on(r * std::cos(a), -r * std::sin(a));
    const QPointF radial(std::cos(a), -std::sin(a));
    const QPointF along(std::sin(a), std::cos(a));
    const double head = s * 0.3;
    FillPolygon(p, {on + radial * head * 0.75, on + along * head * 0.95, on - radial * head * 0.75}, c);
}

// --- buttons ------------------------------------------------------------------

enum class State { Main, Hovered, Pressed };

void RoundButton(QPainter& p, double size, State state, const Painter& glyph)
{
    const QColor fill = state == State::Main ? kAccent : state == State::Hovered ? kAccentLight : kAccentDark;
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    const double inset = size * 0.03;
    p.drawEllipse(QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
    p.translate(size / 2, size / 2);
    if (state == State::Pressed)
        p.translate(0, size * 0.02);
    glyph(p, size);
}

void SquareButton(QPainter& p, double size, State state, const Painter& glyph)
{
    const QColor fill = state == State::Main ? kSlate : state == State::Hovered ? kSlateLight : kAccent;
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    const double inset = size * 0.03;
    p.drawRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset), size * 0.2, size * 0.2);
    p.translate(size / 2, size / 2);
    if (state == State::Pressed)
        p.translate(0, size * 0.02);
    glyph(p, size);
}

Painter Glyph(void (*glyph)(QPainter&, double, const QColor&), double scale)
{
    return [glyph, scale](QPainter& p, double size) { glyph(p, size * scale, kGlyph); };
}

void LED(QPainter& p, double size, const QColor& colour)
{
    const QRectF outer(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(160));
    p.drawEllipse(outer);
    QRadialGradient glow(QPointF(size * 0.45, size * 0.42), size * 0.42);
    glow.setColorAt(0, colour.lighter(140));
    glow.setColorAt(1, colour);
    p.setBrush(glow);
    p.drawEllipse(outer.adjusted(size * 0.07, size * 0.07, -size * 0.07, -size * 0.07));
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QRectF(size * 0.3, size * 0.24, size * 0.22, size * 0.14));
}

// --- tool bar icons (light strokes for a dark tool bar) --------------------------

QPen Stroke(double width, const QColor& colour = kIconStroke)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Magnifier(QPainter& p, bool plus)
{
    p.setPen(Stroke(6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(27, 27), 17, 17);
    p.setPen(Stroke(9));
    p.drawLine(QPointF(40, 40), QPointF(55, 55));
    p.setPen(Stroke(5, kAccentLight));
    p.drawLine(QPointF(19, 27), QPointF(35, 27));
    if (plus)
        p.drawLine(QPointF(27, 19), QPointF(27, 35));
}

void ZoomToFit(QPainter& p)
{
    p.setPen(Stroke(6));
    p.setBrush(Qt::NoBrush);
    const double a = 8, b = 56, l = 14;
    p.drawPolyline(QPolygonF({{a, a + l}, {a, a}, {a + l, a}}));
    p.drawPolyline(QPolygonF({{b - l, a}, {b, a}, {b, a + l}}));
    p.drawPolyline(QPolygonF({{b, b - l}, {b, b}, {b - l, b}}));
    p.drawPolyline(QPolygonF({{a + l, b}, {a, b}, {a, b - l}}));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccentLight);
    p.drawRoundedRect(QRectF(21, 21, 22, 22), 4, 4);
}

void NewFile(QPainter& p)
{
    p.setPen(Stroke(5));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({{12, 6}, {38, 6}, {52, 20}, {52, 58}, {12, 58}}));
    p.drawPolyline(QPolygonF({{38, 6}, {38, 20}, {52, 20}}));
    p.setPen(Stroke(5, kAccentLight));
    p.drawLine(QPointF(32, 30), QPointF(32, 48));
    p.drawLine(QPointF(23, 39), QPointF(41, 39));
}

void OpenInNewWindow(QPainter& p)
{
    p.setPen(Stroke(5));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{30, 10}, {10, 10}, {10, 54}, {54, 54}, {54, 34}}));
    p.setPen(Stroke(6, kAccentLight));
    p.drawLine(QPointF(28, 36), QPointF(54, 10));
    p.drawPolyline(QPolygonF({{38, 10}, {54, 10}, {54, 26}}));
}

// A node graph on a rounded accent tile: three nodes and their links.
void Logo(QPainter& p, double s)
{
    QLinearGradient tile(0, 0, s, s);
    tile.setColorAt(0, kAccentLight);
    tile.setColorAt(1, QColor(0x17, 0xa2, 0xb8));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.22, s * 0.22);
    const QPointF a(s * 0.28, s * 0.34), b(s * 0.72, s * 0.3), c(s * 0.5, s * 0.72);
    p.setPen(QPen(kGlyph, s * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
    p.drawLine(a, c);
    p.drawLine(b, c);
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    for (const QPointF& node : {a, b, c})
        p.drawEllipse(node, s * 0.12, s * 0.12);
    p.setBrush(kAccentDark);
    for (const QPointF& node : {a, b, c})
        p.drawEllipse(node, s * 0.05, s * 0.05);
}

// --- style-sheet pieces ---------------------------------------------------------

void CheckBox(QPainter& p, bool checked)
{
    const QRectF box(1.5, 1.5, 15, 15);
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(box, 3, 3);
        p.setPen(Stroke(2.2, kGlyph));
        p.drawPolyline(QPolygonF({{5, 9.5}, {8, 12.5}, {13.5, 5.5}}));
    } else {
        p.setPen(QPen(QColor(0x9a, 0xa6, 0xb6), 1.5));
        p.setBrush(QColor(0x23, 0x29, 0x32));
        p.drawRoundedRect(box, 3, 3);
    }
}

// A chevron pointing up, turned by the given angle.
void Arrow(QPainter& p, double degrees)
{
    p.translate(6, 6);
    p.rotate(degrees);
    p.setPen(Stroke(2, kIconStroke));
    p.drawPolyline(QPolygonF({{-3.5, 2}, {0, -1.8}, {3.5, 2}}));
}

// --- backgrounds ---------------------------------------------------------------

// The editor's picture: a dark gradient with a fine dot grid.
void EditorBackground(QPainter& p, int w, int h)
{
    QLinearGradient shade(0, 0, 0, h);
    shade.setColorAt(0, QColor(0x20, 0x25, 0x2d));
    shade.setColorAt(1, QColor(0x17, 0x1b, 0x21));
    p.fillRect(QRect(0, 0, w, h), shade);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x33, 0x3b, 0x47));
    for (int y = 12; y < h; y += 24)
        for (int x = 12; x < w; x += 24)
            p.drawEllipse(QPointF(x, y), 1.2, 1.2);
}

// A tile for repeating: minor grid lines every 24 pixels, a major line on the edge.
void GridTile(QPainter& p, int side)
{
    p.fillRect(QRect(0, 0, side, side), QColor(0x1c, 0x21, 0x28));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x24, 0x2a, 0x33));
    for (int v = 24; v < side; v += 24) {
        p.drawLine(v, 0, v, side - 1);
        p.drawLine(0, v, side - 1, v);
    }
    p.setPen(QColor(0x2c, 0x34, 0x3f));
    p.drawLine(0, 0, side - 1, 0);
    p.drawLine(0, 0, 0, side - 1);
}

struct Entry {
    std::string name;
    QImage image;
};

void AddButtonSet(std::vector<Entry>& out, const std::string& base,
                  void (*button)(QPainter&, double, State, const Painter&), const Painter& glyph,
                  const char* hovered_suffix)
{
    const struct {
        const char* suffix;
        State state;
    } variants[] = {{"_main", State::Main}, {hovered_suffix, State::Hovered}, {"_pressed", State::Pressed}};
    for (const auto& v : variants) {
        const State state = v.state;
        out.push_back({base + v.suffix + ".png", Draw(kButtonSize, kButtonSize, [&](QPainter& p) {
                           button(p, kButtonSize, state, glyph);
                       })});
    }
}

std::vector<Entry> AllImages()
{
    std::vector<Entry> out;
    const Painter none = [](QPainter&, double) {};
    // Engine control buttons: blue discs; "_main", "_hovered", "_pressed".
    AddButtonSet(out, "blue_round_button", RoundButton, none, "_hovered");
    AddButtonSet(out, "blue_round_play_button", RoundButton, Glyph(PlayGlyph, 0.42), "_hovered");
    AddButtonSet(out, "blue_round_pause_button", RoundButton, Glyph(PauseGlyph, 0.4), "_hovered");
    AddButtonSet(out, "blue_round_stop_button", RoundButton, Glyph(StopGlyph, 0.4), "_hovered");
    AddButtonSet(out, "blue_round_step_forward_button", RoundButton, Glyph(StepForwardGlyph, 0.44),
                 "_hovered");
    AddButtonSet(out, "blue_round_restart_button", RoundButton, Glyph(RestartGlyph, 0.6), "_hovered");

    // Playback buttons: slate squares; the plain name is the normal image,
    // then "_hover" and "_pressed".
    const struct {
        const char* base;
        Painter glyph;
    } playback[] = {{"play_button", Glyph(PlayGlyph, 0.42)},
                    {"pause_button", Glyph(PauseGlyph, 0.4)},
                    {"forward_button", Glyph(StepForwardGlyph, 0.44)},
                    {"back_button", Glyph(StepBackGlyph, 0.44)}};
    for (const auto& b : playback) {
        std::vector<Entry> set;
        AddButtonSet(set, b.base, SquareButton, b.glyph, "_hover");
        set[0].name = std::string(b.base) + ".png";
        out.insert(out.end(), set.begin(), set.end());
    }

    out.push_back({"green_led_on.png",
                   Draw(kButtonSize, kButtonSize, [](QPainter& p) { LED(p, kButtonSize, kGreen); })});
    out.push_back(
        {"red_led_on.png", Draw(kButtonSize, kButtonSize, [](QPainter& p) { LED(p, kButtonSize, kRed); })});

    auto icon = [&out](const char* name, const std::function<void(QPainter&)>& paint) {
        out.push_back({name, Draw(kIconSize, kIconSize, paint)});
    };
    icon("zoom_in.png", [](QPainter& p) { Magnifier(p, true); });
    icon("zoom_out.png", [](QPainter& p) { Magnifier(p, false); });
    icon("zoom_to_fit.png", ZoomToFit);
    icon("new_file.png", NewFile);
    icon("open_in_new_window.png", OpenInNewWindow);
    icon("restart_icon.png", [](QPainter& p) {
        p.translate(kIconSize / 2.0, kIconSize / 2.0);
        RestartGlyph(p, kIconSize * 0.9, kIconStroke);
    });
    out.push_back({"orvaneLogo2.png", Draw(256, 256, [](QPainter& p) { Logo(p, 256); })});

    out.push_back({"checkbox_checked.png", Draw(18, 18, [](QPainter& p) { CheckBox(p, true); })});
    out.push_back({"checkbox_unchecked.png", Draw(18, 18, [](QPainter& p) { CheckBox(p, false); })});
    const struct {
        const char* name;
        double degrees;
    } arrows[] = {
        {"arrow_up.png", 0}, {"arrow_right.png", 90}, {"arrow_down.png", 180}, {"arrow_left.png", 270}};
    for (const auto& a : arrows) {
        const double degrees = a.degrees;
        out.push_back({a.name, Draw(12, 12, [degrees](QPainter& p) { Arrow(p, degrees); })});
    }

    out.push_back({"background.png", Draw(1920, 1080, [](QPainter& p) { EditorBackground(p, 1920, 1080); })});
    out.push_back({"background.jpg", Draw(96, 96, [](QPainter& p) { GridTile(p, 96); })});
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_images <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (const Entry& entry : AllImages()) {
        const QString path = folder.filePath(QString::fromStdString(entry.name));
        const bool jpeg = path.endsWith(".jpg");
        const QImage image = jpeg ? entry.image.convertToFormat(QImage::Format_RGB32) : entry.image;
        if (!image.save(path, nullptr, jpeg ? 95 : -1)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
