#include "ui/caption_label.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace quimo::ui {

CaptionLabel::CaptionLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
}

QList<CaptionLabel::Line> CaptionLabel::layoutLines() const
{
    QTextLayout layout(text(), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<Line> lines;
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width());
        line.setPosition(QPointF(0, y));
        if (!lines.isEmpty() && y + line.height() > height()) {
            break;
        }
        lines.append({text().mid(line.textStart(), line.textLength()), y});
        y += line.height();
    }
    layout.endLayout();
    return lines;
}

QStringList CaptionLabel::visibleLines() const
{
    QStringList result;
    for (const Line &line : layoutLines()) {
        result.append(line.text);
    }
    return result;
}

int CaptionLabel::oneLineWidth() const
{
    return int(std::ceil(QFontMetricsF(font()).horizontalAdvance(text())));
}

void CaptionLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const qreal ascent = QFontMetricsF(font()).ascent();
    for (const Line &line : layoutLines()) {
        painter.drawText(QPointF(0, line.y + ascent), line.text);
    }
}

} // namespace quimo::ui
