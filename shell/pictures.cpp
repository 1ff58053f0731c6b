#include "shell/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vshell
{

namespace
{

// A few letters in a 5 x 7 dot font, enough for the mark on the product.
const char *glyph(char c)
{
    switch (c) {
    case 'V':
        return "10001100011000110001100010101000100";
    case 'U':
        return "10001100011000110001100011000101110";
    case 'A':
        return "01110100011000111111100011000110001";
    case 'Z':
        return "11111000010001000100010001000011111";
    case '0':
        return "01110100011001110101110011000101110";
    case '1':
        return "00100011000010000100001000010001110";
    case '2':
        return "01110100010000100010001000100011111";
    case '4':
        return "00010001100101010010111110001000010";
    default:
        return "00000000000000000000000000000000000";
    }
}

void drawDots(QPainter &p, const QString &text, QPointF origin, qreal pitch, const QColor &ink)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int i = 0; i < text.size(); ++i) {
        const char *g = glyph(text[i].toLatin1());
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (g[row * 5 + col] == '1')
                    p.drawEllipse(
                        QPointF(origin.x() + (i * 6 + col) * pitch, origin.y() + row * pitch),
                        pitch * 0.38, pitch * 0.38);
    }
}

void drawHead(QPainter &p, const QRectF &head)
{
    QLinearGradient metal(head.topLeft(), head.topRight());
    metal.setColorAt(0, QColor(0x8a, 0x95, 0xa5));
    metal.setColorAt(0.5, QColor(0xe4, 0xe8, 0xee));
    metal.setColorAt(1, QColor(0x6c, 0x76, 0x86));
    p.setPen(QPen(QColor(0x2b, 0x33, 0x40), 1.5));
    p.setBrush(metal);
    p.drawRoundedRect(head, head.width() * 0.12, head.width() * 0.12);
    p.setBrush(QColor(0x2b, 0x33, 0x40));
    const QRectF nozzle(head.center().x() - head.width() * 0.12, head.bottom(), head.width() * 0.24,
                        head.height() * 0.12);
    p.drawRect(nozzle);
}

} // namespace

QPixmap programPicture(int size)
{
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1d, 0x3b, 0x5c));
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
    drawHead(p, QRectF(size * 0.34, size * 0.08, size * 0.32, size * 0.34));
    p.setBrush(QColor(0xff, 0xc8, 0x3d));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(size * 0.5, size * (0.56 + 0.08 * i)), size * 0.03, size * 0.03);
    drawDots(p, QStringLiteral("V"), QPointF(size * 0.16, size * 0.62), size * 0.05,
             QColor(0xff, 0xc8, 0x3d));
    drawDots(p, QStringLiteral("Z"), QPointF(size * 0.62, size * 0.62), size * 0.05,
             QColor(0xff, 0xc8, 0x3d));
    return pix;
}

QPixmap backgroundPicture(const QSize &size)
{
    QPixmap pix(size);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x16, 0x2a, 0x43));
    sky.setColorAt(1, QColor(0x2c, 0x5a, 0x78));
    p.fillRect(pix.rect(), sky);

    // The conveyor and its rollers.
    const qreal belt = h * 0.78;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x24, 0x28, 0x2f));
    p.drawRect(QRectF(0, belt, w, h * 0.06));
    p.setBrush(QColor(0x55, 0x5d, 0x69));
    for (qreal x = h * 0.05; x < w; x += h * 0.12)
        p.drawEllipse(QPointF(x, belt + h * 0.09), h * 0.03, h * 0.03);

    // The product, already marked.
    const QRectF box(w * 0.38, belt - h * 0.32, w * 0.44, h * 0.32);
    p.setBrush(QColor(0xc8, 0x9b, 0x62));
    p.setPen(QPen(QColor(0x7a, 0x55, 0x2c), 2));
    p.drawRect(box);
    drawDots(p, QStringLiteral("VUVA"), box.topLeft() + QPointF(box.width() * 0.08, h * 0.05),
             h * 0.018, QColor(0x10, 0x10, 0x18));
    drawDots(p, QStringLiteral("0124"), box.topLeft() + QPointF(box.width() * 0.08, h * 0.2),
             h * 0.018, QColor(0x10, 0x10, 0x18));

    // The print head over the product's leading edge, drops on their way down.
    const QRectF head(w * 0.27, h * 0.12, w * 0.09, h * 0.24);
    drawHead(p, head);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x10, 0x18));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(head.center().x(), head.bottom() + h * (0.06 + 0.05 * i)), h * 0.008,
                      h * 0.008);
    return pix;
}

QIcon toolIcon(const QString &label, const QColor &colour)
{
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 32);
    fill.setColorAt(0, colour.lighter(135));
    fill.setColorAt(1, colour.darker(115));
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(label.size() > 2 ? 10 : 13);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, label);
    return QIcon(pix);
}

} // namespace vshell
