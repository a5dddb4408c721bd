#include "ui/block_detail_window.h"

#include "core/catalogue.h"
#include "core/file_names.h"
#include "core/scoring.h"
#include "ui/application.h"
#include "ui/block_layout.h"
#include "ui/caption_label.h"
#include "ui/dialog_keys.h"
#include "ui/gauge.h"
#include "ui/snapshot.h"
#include "ui/window_parts.h"
#include "ui/window_placement.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace quimo::ui {

namespace {

// A caption must end before the gauges start.
constexpr int kWidestCaption = kGaugeLeft - 16 - 4;

const QString kMsSansSerif = QStringLiteral("MS Sans Serif");

} // namespace

BlockDetailWindow::BlockDetailWindow(int block, const Session &session, QWidget *parent)
    : QDialog(parent)
    , block_(block)
    , session_(session)
{
    const BlockLayout layout = blockLayout(block);
    setObjectName(QStringLiteral("quimoausw%1frm").arg(block));
    setWindowTitle(QString::fromUtf8(blockNames(block).windowCaption));
    setFont(layoutFont(kMsSansSerif, 11));
    setWhiteBackground(this);
    setSizeGripEnabled(false);

    const QFont captionFont = layoutFont(kMsSansSerif, 13);
    for (int position = 1; position <= kStatementsPerBlock; ++position) {
        const StatementPlacement &place = layout.statements[std::size_t(position - 1)];
        const Statement &statement = quimo::statement(questionAt(block, position));

        auto *first = new CaptionLabel(QString::fromUtf8(statement.firstLine), this);
        first->setObjectName(QStringLiteral("Label%1").arg(statement.question));
        first->setFont(captionFont);
        first->setGeometry(place.firstLine);
        firstLines_.append(first);

        CaptionLabel *continuation = nullptr;
        if (statement.hasContinuation()) {
            continuation = new CaptionLabel(QString::fromUtf8(statement.continuation), this);
            continuation->setObjectName(QStringLiteral("Label%1b").arg(statement.question));
            continuation->setFont(captionFont);
            continuation->setGeometry(place.continuation.value_or(
                QRect(place.firstLine.left(), place.firstLine.bottom() + 1, 465, 18)));
        }
        continuations_.append(continuation);

        auto *gauge = new Gauge(this);
        gauge->setObjectName(QStringLiteral("Gauge%1").arg(position));
        gauge->setGeometry(QRect(QPoint(kGaugeLeft, place.gaugeTop), kGaugeSize));
        gauge->setFont(layoutFont(kMsSansSerif, 11));
        gauge->setProgress(100); // replaced by the answer before the window is shown
        gauges_.append(gauge);
    }
    fitCaptionBoxes();

    closeButton_ = makeCloseButton(this, QStringLiteral("BitBtn1"),
                                   QRect(layout.closeButton, kCloseButtonSize));
    connect(closeButton_, &QPushButton::clicked, this, &BlockDetailWindow::bitBtn1Click);

    image_ = makeScratchImage(this, kScratchImage);
    makeNotice(this, QStringLiteral("Notice"), layout.notice, 12);

    // Only "S&chließen" takes the focus, and Escape does nothing: the window has no cancel
    // button, so a stray Escape cannot skip the picture the user asked for.
    for (QWidget *child : findChildren<QWidget *>()) {
        if (child != closeButton_) {
            child->setFocusPolicy(Qt::NoFocus);
        }
    }
    new DialogKeys(this);
    placeCentred(this, QSize(kDetailOuterWidth, layout.outerHeight));

    formCreate();
}

void BlockDetailWindow::formCreate()
{
    for (int position = 1; position <= kStatementsPerBlock; ++position) {
        const int question = questionAt(block_, position);
        gauges_[position - 1]->setProgress(gaugeValue(session_.answers.answer(question)));
    }
}

// Our substitute font is not the one the layout was measured in: boxes grow where a caption
// would lose its end, up to the gauges. Question 17 shows its first line up to "soll", and its
// continuation line repeats the rest, so the statement reads once across both lines.
void BlockDetailWindow::fitCaptionBoxes()
{
    const BlockLayout layout = blockLayout(block_);
    for (int position = 1; position <= kStatementsPerBlock; ++position) {
        CaptionLabel *first = firstLines_[position - 1];
        const StatementPlacement &place = layout.statements[std::size_t(position - 1)];
        CaptionLabel *continuation = continuations_[position - 1];
        if (continuation && first->text().endsWith(continuation->text())) {
            const QString head = first->text().chopped(continuation->text().size());
            const QFontMetricsF metrics(first->font());
            first->resize(int(std::ceil(metrics.horizontalAdvance(head))) + 1, first->height());
            continue;
        }
        const int needed = first->oneLineWidth() + 1;
        if (place.fitToCaption || needed > first->width()) {
            first->resize(std::min(needed, place.fitToCaption ? needed : kWidestCaption),
                          first->height());
        }
        if (continuation && continuation->oneLineWidth() + 1 > continuation->width()) {
            continuation->resize(std::min(continuation->oneLineWidth() + 1, kWidestCaption),
                                 continuation->height());
        }
    }
}

Gauge *BlockDetailWindow::gauge(int position) const
{
    return gauges_.value(position - 1);
}

CaptionLabel *BlockDetailWindow::firstLineLabel(int position) const
{
    return firstLines_.value(position - 1);
}

CaptionLabel *BlockDetailWindow::continuationLabel(int position) const
{
    return continuations_.value(position - 1);
}

void BlockDetailWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    closeButton_->setFocus();
}

void BlockDetailWindow::bitBtn1Click()
{
    if (session_.saveSnapshots) {
        const QString name = QString::fromStdString(detailPictureName(session_.baseName, block_));
        saveSnapshot(this, detailCrop(frameGeometry().height(), closeButton_->y()), image_, name,
                     name);
    }
    reject();
}

} // namespace quimo::ui
