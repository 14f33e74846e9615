#include "images.h"

#include <QApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>
#include <QTransform>

#include <cmath>

namespace {

// Every icon is drawn on a 48 × 48 grid; the painter scales it to the size asked for.
constexpr qreal Grid = 48.0;

QColor shade(const QColor &c, int factor)
{
    return factor >= 100 ? c.lighter(factor) : c.darker(200 - factor);
}

QPen outline(const QColor &c, qreal width = 2.0)
{
    QPen pen(c, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor &a, const QColor &b)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

// A sheet of paper with a folded corner, the common ground of the record icons.
void paintSheet(QPainter &p)
{
    QPainterPath sheet;
    sheet.moveTo(9, 4);
    sheet.lineTo(29, 4);
    sheet.lineTo(39, 14);
    sheet.lineTo(39, 44);
    sheet.lineTo(9, 44);
    sheet.closeSubpath();
    p.setPen(outline(QColor(90, 100, 115), 1.6));
    p.setBrush(vertical(4, 44, QColor(255, 255, 255), QColor(220, 228, 238)));
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(29, 4);
    fold.lineTo(29, 14);
    fold.lineTo(39, 14);
    p.setBrush(QColor(200, 210, 224));
    p.drawPath(fold);
    p.setPen(outline(QColor(160, 175, 195), 1.4));
    for (int y = 20; y <= 38; y += 6)
        p.drawLine(QPointF(14, y), QPointF(y == 20 ? 26 : 34, y));
}

void paintOk(QPainter &p)
{
    QPainterPath tick;
    tick.moveTo(6, 26);
    tick.lineTo(13, 19);
    tick.lineTo(20, 27);
    tick.lineTo(37, 8);
    tick.lineTo(44, 15);
    tick.lineTo(20, 41);
    tick.closeSubpath();
    p.setPen(outline(QColor(20, 95, 30), 2.0));
    p.setBrush(vertical(8, 41, QColor(120, 215, 90), QColor(30, 140, 40)));
    p.drawPath(tick);
}

void paintStorno(QPainter &p)
{
    // An X of two thick bars, joined into one outline so that it strokes cleanly.
    QPainterPath bar;
    bar.addRoundedRect(QRectF(-20, -5.5, 40, 11), 2.5, 2.5);
    QTransform t1;
    t1.translate(24, 24);
    t1.rotate(45);
    QTransform t2;
    t2.translate(24, 24);
    t2.rotate(-45);
    const QPainterPath cross = t1.map(bar).united(t2.map(bar));
    p.setPen(outline(QColor(120, 15, 15), 2.0));
    p.setBrush(vertical(7, 41, QColor(245, 110, 95), QColor(185, 25, 25)));
    p.drawPath(cross);
}

void paintNew(QPainter &p)
{
    paintSheet(p);
    // A bright star in the upper left: something new.
    QPainterPath star;
    const QPointF centre(14, 14);
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? 11 : 4.5;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(outline(QColor(170, 110, 0), 1.4));
    p.setBrush(vertical(3, 25, QColor(255, 240, 120), QColor(245, 175, 20)));
    p.drawPath(star);
}

void paintEdit(QPainter &p)
{
    paintSheet(p);
    p.save();
    p.translate(30, 28);
    p.rotate(45);
    // The pencil: body, wooden tip, lead, and the eraser at the back.
    p.setPen(outline(QColor(120, 80, 10), 1.4));
    p.setBrush(vertical(-4, 4, QColor(255, 215, 80), QColor(225, 150, 20)));
    p.drawRect(QRectF(-16, -4, 24, 8));
    QPainterPath tip;
    tip.moveTo(8, -4);
    tip.lineTo(16, 0);
    tip.lineTo(8, 4);
    tip.closeSubpath();
    p.setBrush(QColor(240, 210, 160));
    p.drawPath(tip);
    p.setBrush(QColor(60, 60, 60));
    p.setPen(Qt::NoPen);
    QPainterPath lead;
    lead.moveTo(13, -1.5);
    lead.lineTo(16, 0);
    lead.lineTo(13, 1.5);
    lead.closeSubpath();
    p.drawPath(lead);
    p.setPen(outline(QColor(140, 40, 60), 1.4));
    p.setBrush(QColor(235, 120, 140));
    p.drawRect(QRectF(-21, -4, 5, 8));
    p.restore();
}

void paintDelete(QPainter &p)
{
    // A waste bin with its lid lifted a little.
    const QColor metal(110, 125, 140);
    QPainterPath bin;
    bin.moveTo(11, 15);
    bin.lineTo(37, 15);
    bin.lineTo(34, 44);
    bin.lineTo(14, 44);
    bin.closeSubpath();
    p.setPen(outline(shade(metal, 60), 1.6));
    QLinearGradient g(11, 0, 37, 0);
    g.setColorAt(0, QColor(175, 188, 200));
    g.setColorAt(0.45, QColor(235, 240, 245));
    g.setColorAt(1, QColor(140, 155, 170));
    p.setBrush(g);
    p.drawPath(bin);
    p.setPen(outline(shade(metal, 70), 1.6));
    for (qreal x : {18.0, 24.0, 30.0})
        p.drawLine(QPointF(x, 20), QPointF(x + (x - 24) * 0.12, 40));
    p.save();
    p.translate(24, 11);
    p.rotate(-8);
    p.setPen(outline(shade(metal, 60), 1.6));
    p.setBrush(vertical(-3, 3, QColor(215, 222, 230), QColor(150, 165, 180)));
    p.drawRoundedRect(QRectF(-16, -3, 32, 6), 2, 2);
    p.drawRoundedRect(QRectF(-5, -7, 10, 4), 1.5, 1.5);
    p.restore();
    // A small red cross on the bin: this removes.
    p.setPen(outline(QColor(200, 30, 30), 3.0));
    p.drawLine(QPointF(19, 25), QPointF(29, 35));
    p.drawLine(QPointF(29, 25), QPointF(19, 35));
}

void paintTagShape(QPainter &p, bool tagged)
{
    QPainterPath tag;
    tag.moveTo(6, 24);
    tag.lineTo(18, 10);
    tag.lineTo(42, 10);
    tag.lineTo(42, 38);
    tag.lineTo(18, 38);
    tag.closeSubpath();
    tag.addEllipse(QPointF(17, 24), 3.2, 3.2);
    tag.setFillRule(Qt::OddEvenFill);
    if (tagged) {
        p.setPen(outline(QColor(150, 90, 0), 1.8));
        p.setBrush(vertical(10, 38, QColor(255, 225, 90), QColor(240, 160, 20)));
    } else {
        p.setPen(outline(QColor(140, 145, 150), 1.8));
        p.setBrush(vertical(10, 38, QColor(250, 250, 250), QColor(215, 218, 222)));
    }
    p.drawPath(tag);
    if (tagged) {
        p.setPen(outline(QColor(170, 30, 20), 3.2));
        p.drawLine(QPointF(25, 24), QPointF(30, 30));
        p.drawLine(QPointF(30, 30), QPointF(38, 16));
    }
}

void paintAttendance(QPainter &p)
{
    // A wall clock: the time of coming and going.
    QRadialGradient rim(QPointF(20, 18), 26);
    rim.setColorAt(0, QColor(110, 170, 230));
    rim.setColorAt(1, QColor(20, 70, 140));
    p.setPen(outline(QColor(15, 45, 95), 1.6));
    p.setBrush(rim);
    p.drawEllipse(QPointF(24, 24), 21, 21);
    p.setBrush(vertical(6, 42, QColor(255, 255, 255), QColor(225, 232, 240)));
    p.setPen(outline(QColor(60, 90, 130), 1.0));
    p.drawEllipse(QPointF(24, 24), 16.5, 16.5);
    p.setPen(outline(QColor(40, 50, 70), 1.8));
    for (int h = 0; h < 12; ++h) {
        const qreal a = h * M_PI / 6;
        const qreal r1 = h % 3 == 0 ? 11.5 : 13.0;
        p.drawLine(QPointF(24 + r1 * std::sin(a), 24 - r1 * std::cos(a)),
                   QPointF(24 + 14.5 * std::sin(a), 24 - 14.5 * std::cos(a)));
    }
    p.setPen(outline(QColor(25, 30, 45), 3.0));
    p.drawLine(QPointF(24, 24), QPointF(24, 13));      // the hour hand at twelve...
    p.setPen(outline(QColor(25, 30, 45), 2.2));
    p.drawLine(QPointF(24, 24), QPointF(34, 28));      // ...and the minutes past it
    p.setPen(outline(QColor(200, 30, 30), 1.2));
    p.drawLine(QPointF(24, 24), QPointF(17, 35));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawEllipse(QPointF(24, 24), 2.2, 2.2);
}

void paintLog(QPainter &p)
{
    // A clipboard with the rows of a log.
    p.setPen(outline(QColor(95, 60, 25), 1.6));
    p.setBrush(vertical(3, 46, QColor(205, 150, 85), QColor(150, 95, 40)));
    p.drawRoundedRect(QRectF(7, 5, 34, 41), 3, 3);
    p.setPen(outline(QColor(110, 120, 130), 1.2));
    p.setBrush(QColor(252, 252, 248));
    p.drawRect(QRectF(11, 10, 26, 32));
    p.setPen(outline(QColor(70, 75, 85), 1.6));
    p.setBrush(vertical(1, 11, QColor(225, 230, 235), QColor(150, 160, 170)));
    p.drawRoundedRect(QRectF(17, 2, 14, 8), 2, 2);
    for (int i = 0; i < 5; ++i) {
        const qreal y = 16 + i * 5.5;
        p.setPen(Qt::NoPen);
        p.setBrush(i == 2 ? QColor(210, 40, 40) : QColor(40, 120, 200));
        p.drawEllipse(QPointF(15, y), 1.6, 1.6);
        p.setPen(outline(QColor(120, 130, 145), 1.4));
        p.drawLine(QPointF(19, y), QPointF(i % 2 ? 30 : 34, y));
    }
}

void paintCard(QPainter &p, const QRectF &r, bool waves)
{
    p.setPen(outline(QColor(20, 50, 100), 1.4));
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(90, 160, 235));
    g.setColorAt(1, QColor(25, 75, 160));
    p.setBrush(g);
    p.drawRoundedRect(r, r.height() * 0.12, r.height() * 0.12);
    // The chip.
    const QRectF chip(r.left() + r.width() * 0.12, r.top() + r.height() * 0.28, r.width() * 0.2, r.height() * 0.3);
    p.setPen(outline(QColor(130, 100, 20), 0.8));
    p.setBrush(vertical(chip.top(), chip.bottom(), QColor(255, 230, 140), QColor(210, 165, 50)));
    p.drawRoundedRect(chip, 1, 1);
    p.drawLine(QPointF(chip.left(), chip.center().y()), QPointF(chip.right(), chip.center().y()));
    p.drawLine(QPointF(chip.center().x(), chip.top()), QPointF(chip.center().x(), chip.bottom()));
    // A stripe where the holder's name goes.
    p.setPen(outline(QColor(200, 225, 250), r.height() * 0.06));
    p.drawLine(QPointF(r.left() + r.width() * 0.12, r.bottom() - r.height() * 0.2),
               QPointF(r.left() + r.width() * 0.6, r.bottom() - r.height() * 0.2));
    if (waves) {
        p.setPen(outline(QColor(255, 255, 255), r.height() * 0.055));
        p.setBrush(Qt::NoBrush);
        const QPointF c(r.right() - r.width() * 0.3, r.center().y() - r.height() * 0.05);
        for (int i = 1; i <= 3; ++i) {
            const qreal rad = r.height() * 0.11 * i;
            p.drawArc(QRectF(c.x() - rad, c.y() - rad, rad * 2, rad * 2), -45 * 16, 90 * 16);
        }
    }
}

void paintAccess(QPainter &p)
{
    // A door standing ajar, and the card that opens it.
    p.setPen(outline(QColor(70, 50, 30), 1.6));
    p.setBrush(vertical(3, 45, QColor(150, 110, 70), QColor(95, 65, 35)));
    p.drawRect(QRectF(6, 3, 26, 42));
    QPainterPath leaf;
    leaf.moveTo(9, 6);
    leaf.lineTo(25, 9);
    leaf.lineTo(25, 44);
    leaf.lineTo(9, 42);
    leaf.closeSubpath();
    p.setBrush(vertical(6, 44, QColor(230, 185, 125), QColor(185, 130, 70)));
    p.drawPath(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 215, 90));
    p.drawEllipse(QPointF(22, 27), 1.8, 1.8);
    // The reader beside the door, its lamp green.
    p.setPen(outline(QColor(40, 45, 55), 1.2));
    p.setBrush(vertical(14, 30, QColor(110, 118, 130), QColor(55, 60, 70)));
    p.drawRoundedRect(QRectF(35, 14, 9, 16), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 230, 90));
    p.drawEllipse(QPointF(39.5, 18), 1.6, 1.6);
    p.save();
    p.translate(33, 34);
    p.rotate(-20);
    paintCard(p, QRectF(-12, -7.5, 24, 15), false);
    p.restore();
}

void paintProgram(QPainter &p)
{
    // The program's mark: a key card held up to a reader, with its radio waves.
    p.setPen(Qt::NoPen);
    QRadialGradient bg(QPointF(18, 14), 40);
    bg.setColorAt(0, QColor(255, 255, 255));
    bg.setColorAt(1, QColor(195, 215, 235));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
    p.save();
    p.translate(22, 27);
    p.rotate(-12);
    paintCard(p, QRectF(-17, -11, 34, 22), true);
    p.restore();
    p.setPen(outline(QColor(20, 120, 60), 2.0));
    p.setBrush(QColor(60, 200, 100));
    p.drawEllipse(QPointF(39, 9), 4, 4);
}

void paintDatabase(QPainter &p)
{
    // Three discs of stored data, and a clock of the wait in front.
    const QColor body(50, 110, 180);
    for (int i = 2; i >= 0; --i) {
        const qreal top = 6 + i * 11;
        QPainterPath disc;
        disc.moveTo(6, top + 4);
        disc.lineTo(6, top + 12);
        disc.arcTo(QRectF(6, top + 8, 32, 8), 180, 180);
        disc.lineTo(38, top + 4);
        disc.closeSubpath();
        p.setPen(outline(shade(body, 55), 1.4));
        QLinearGradient g(6, 0, 38, 0);
        g.setColorAt(0, QColor(70, 140, 210));
        g.setColorAt(0.4, QColor(150, 200, 245));
        g.setColorAt(1, QColor(35, 85, 150));
        p.setBrush(g);
        p.drawPath(disc);
        p.setBrush(QColor(175, 215, 250));
        p.drawEllipse(QRectF(6, top, 32, 8));
    }
    p.setPen(outline(QColor(110, 80, 10), 1.4));
    p.setBrush(vertical(26, 46, QColor(255, 240, 160), QColor(240, 190, 40)));
    p.drawEllipse(QPointF(37, 36), 9, 9);
    p.setPen(outline(QColor(60, 45, 10), 1.8));
    p.drawLine(QPointF(37, 36), QPointF(37, 30));
    p.drawLine(QPointF(37, 36), QPointF(41, 38));
}

class PaintedIconEngine : public QIconEngine
{
public:
    explicit PaintedIconEngine(Images::Icon id)
        : m_id(id)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        if (mode == QIcon::Disabled) {
            painter->drawPixmap(rect, pixmap(rect.size(), mode, QIcon::Off));
            return;
        }
        Images::paintIcon(*painter, m_id, rect);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            Images::paintIcon(p, m_id, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        if (mode != QIcon::Normal && mode != QIcon::Active) {
            QStyleOption opt;
            if (QStyle *style = QApplication::style())
                return style->generatedIconPixmap(mode, pm, &opt);
        }
        Q_UNUSED(state);
        return pm;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }

    QIconEngine *clone() const override { return new PaintedIconEngine(m_id); }
    QString key() const override { return QStringLiteral("halvane.painted"); }

private:
    Images::Icon m_id;
};

// Soft circles of light, for the blue wallpaper.
void paintGlow(QPainter &p, const QPointF &c, qreal r, const QColor &colour)
{
    QRadialGradient g(c, r);
    QColor inner = colour;
    QColor outer = colour;
    outer.setAlpha(0);
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

} // namespace

void Images::paintIcon(QPainter &p, Icon id, const QRectF &rect)
{
    const qreal side = qMin(rect.width(), rect.height());
    if (side <= 0)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
    p.scale(side / Grid, side / Grid);
    switch (id) {
    case Ok: paintOk(p); break;
    case Storno: paintStorno(p); break;
    case New: paintNew(p); break;
    case Edit: paintEdit(p); break;
    case Delete: paintDelete(p); break;
    case Tag: paintTagShape(p, true); break;
    case Untag: paintTagShape(p, false); break;
    case Attendance: paintAttendance(p); break;
    case Log: paintLog(p); break;
    case Access: paintAccess(p); break;
    case Program: paintProgram(p); break;
    case Database: paintDatabase(p); break;
    }
    p.restore();
}

QIcon Images::icon(Icon id)
{
    return QIcon(new PaintedIconEngine(id));
}

QPixmap Images::pixmap(Icon id, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paintIcon(p, id, QRectF(0, 0, size, size));
    return pm;
}

QPixmap Images::frameWallpaper(const QSize &size)
{
    QPixmap pm(size.expandedTo(QSize(1, 1)));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = pm.width();
    const qreal h = pm.height();
    QLinearGradient g(0, 0, w * 0.3, h);
    g.setColorAt(0, QColor(214, 223, 233));
    g.setColorAt(1, QColor(158, 176, 196));
    p.fillRect(pm.rect(), g);
    // A faint weave of diagonal lines, like brushed metal of a door plate.
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    for (qreal x = -h; x < w; x += 14)
        p.drawLine(QPointF(x, h), QPointF(x + h, 0));
    // The program's card, large and pale, in the lower right.
    const qreal cw = qMin(w, h) * 0.45;
    if (cw > 40) {
        p.save();
        p.setOpacity(0.13);
        p.translate(w - cw * 0.8, h - cw * 0.55);
        p.rotate(-12);
        paintCard(p, QRectF(-cw / 2, -cw * 0.32, cw, cw * 0.64), true);
        p.restore();
    }
    return pm;
}

QPixmap Images::loginWallpaper(const QSize &size)
{
    QPixmap pm(size.expandedTo(QSize(1, 1)));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = pm.width();
    const qreal h = pm.height();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(28, 72, 140));
    g.setColorAt(1, QColor(8, 30, 75));
    p.fillRect(pm.rect(), g);
    paintGlow(p, QPointF(w * 0.15, h * 0.2), qMax(w, h) * 0.45, QColor(90, 150, 230, 90));
    paintGlow(p, QPointF(w * 0.9, h * 0.85), qMax(w, h) * 0.35, QColor(60, 190, 220, 60));
    return pm;
}

QPixmap Images::loginPicture(const QSize &size)
{
    QPixmap pm(size.expandedTo(QSize(1, 1)));
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = pm.width();
    const qreal h = pm.height();
    // A pale panel with a padlock and the key card that unlocks it.
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(235, 242, 250));
    g.setColorAt(1, QColor(190, 208, 230));
    p.setPen(QPen(QColor(255, 255, 255, 160), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 8, 8);

    const qreal s = qMin(w * 0.4, h * 0.8);
    const QPointF lockCentre(w * 0.3, h * 0.5 + s * 0.1);
    p.setPen(QPen(QColor(90, 100, 115), s * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF shackle(lockCentre.x() - s * 0.25, lockCentre.y() - s * 0.62, s * 0.5, s * 0.6);
    p.drawArc(shackle, 0, 180 * 16);
    p.drawLine(QPointF(shackle.left(), shackle.center().y()), QPointF(shackle.left(), lockCentre.y() - s * 0.1));
    p.drawLine(QPointF(shackle.right(), shackle.center().y()), QPointF(shackle.right(), lockCentre.y() - s * 0.22));
    const QRectF body(lockCentre.x() - s * 0.38, lockCentre.y() - s * 0.12, s * 0.76, s * 0.58);
    p.setPen(QPen(QColor(120, 80, 10), s * 0.025));
    p.setBrush(vertical(body.top(), body.bottom(), QColor(255, 220, 100), QColor(215, 150, 30)));
    p.drawRoundedRect(body, s * 0.06, s * 0.06);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 55, 10));
    p.drawEllipse(QPointF(body.center().x(), body.center().y() - s * 0.05), s * 0.06, s * 0.06);
    p.drawRect(QRectF(body.center().x() - s * 0.025, body.center().y() - s * 0.03, s * 0.05, s * 0.15));

    p.save();
    p.translate(w * 0.68, h * 0.52);
    p.rotate(-15);
    const qreal cw = qMin(w * 0.45, h * 1.1);
    paintCard(p, QRectF(-cw / 2, -cw * 0.32, cw, cw * 0.64), true);
    p.restore();
    return pm;
}

QPixmap Images::settingsBackground(const QSize &size)
{
    QPixmap pm(size.expandedTo(QSize(1, 1)));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = pm.width();
    const qreal h = pm.height();
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(248, 250, 253));
    g.setColorAt(1, QColor(215, 226, 240));
    p.fillRect(pm.rect(), g);
    p.setPen(QPen(QColor(120, 150, 190, 30), 1));
    for (qreal y = 0; y < h; y += 12)
        p.drawLine(QPointF(0, y), QPointF(w, y));
    return pm;
}
