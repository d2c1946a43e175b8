// Renders every icon of the program onto one contact sheet, to look the set
// over: each column is one icon (or a normal/hot pair), drawn at 16, 24 and
// 32 pixels, then at 16 pixels magnified three times without smoothing so
// that single pixels can be judged. The logo goes at the bottom.
//
//   sigil_icon_sheet sheet.png [executable-dir]
//
// With an executable folder the icons are served as the program would serve
// them there, an icon resource library included.

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/IconIds.h"
#include "ui/IconResources.h"

using namespace sigil;

namespace {

constexpr int kColumnsPerBand = 25;
constexpr int kCell = 52;
constexpr int kLabelHeight = 14;
constexpr int kGap = 4;

std::vector<icons::IconPair> columns()
{
    std::vector<icons::IconPair> out = {
        {icons::kApplication, 0},   {icons::kPropertyWindow, 0},    {icons::kFolderChooser, 0},
        {icons::kDefaultButton, 0}, {icons::kStatusDescription, 0}, {icons::kStatusDisplaySize, 0},
    };
    const std::vector<icons::IconPair> pairs = icons::allIconPairs();
    out.insert(out.end(), pairs.begin(), pairs.end());
    return out;
}

// Row heights of one band: 16, 24, 32 and 16 magnified, normal then hot.
struct Row {
    int size;
    int drawn;
    bool hot;
};
const Row kRows[] = {{16, 16, false}, {16, 16, true}, {24, 24, false}, {24, 24, true},
                     {32, 32, false}, {32, 32, true}, {16, 48, false}, {16, 48, true}};

int bandHeight()
{
    int h = kLabelHeight;
    for (const Row& row : kRows)
        h += row.drawn + kGap;
    return h + 2 * kGap;
}

void drawBand(QPainter& painter, const IconResources& resources, const std::vector<icons::IconPair>& cols, int first,
              int top)
{
    painter.setPen(QColor(0x50, 0x50, 0x50));
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    const int count = std::min<int>(kColumnsPerBand, int(cols.size()) - first);
    for (int c = 0; c < count; ++c) {
        const icons::IconPair pair = cols[size_t(first + c)];
        const int x = kGap + c * kCell;
        painter.drawText(QRect(x, top, kCell, kLabelHeight), Qt::AlignCenter, QString::number(pair.normal));
        int y = top + kLabelHeight;
        for (const Row& row : kRows) {
            const int id = row.hot ? pair.hot : pair.normal;
            if (id != 0) {
                const QPixmap pm = resources.pixmap(id, row.size);
                painter.drawPixmap(QRect(x + (kCell - row.drawn) / 2, y, row.drawn, row.drawn), pm);
            }
            y += row.drawn + kGap;
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s sheet.png [executable-dir]\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    IconResources resources;
    if (argc > 2)
        resources.loadLibrary(QString::fromLocal8Bit(argv[2]));

    const std::vector<icons::IconPair> cols = columns();
    const int bands = (int(cols.size()) + kColumnsPerBand - 1) / kColumnsPerBand;
    const int logoTop = bands * bandHeight() + kGap;
    QImage sheet(2 * kGap + kColumnsPerBand * kCell, logoTop + IconResources::kLogoHeight + 2 * kGap,
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter painter(&sheet);
    for (int b = 0; b < bands; ++b)
        drawBand(painter, resources, cols, b * kColumnsPerBand, b * bandHeight() + kGap);
    painter.fillRect(QRect(kGap, logoTop, IconResources::kLogoWidth, IconResources::kLogoHeight), Qt::white);
    painter.drawPixmap(kGap, logoTop, resources.logo());
    painter.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
