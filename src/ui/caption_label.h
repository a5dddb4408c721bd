#pragma once

#include <QLabel>
#include <QStringList>

namespace quimo::ui {

// A statement's caption in a fixed box: the text wraps at the box width and only the lines
// that fit wholly into the box are drawn, so a long caption loses its end, never half a line.
class CaptionLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CaptionLabel)

public:
    CaptionLabel(const QString &text, QWidget *parent);

    // The lines as they stand in the box, the first one always included.
    QStringList visibleLines() const;

    // The width one line of the caption needs in the label's font.
    int oneLineWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Line
    {
        QString text;
        qreal y;
    };
    QList<Line> layoutLines() const;
};

} // namespace quimo::ui
