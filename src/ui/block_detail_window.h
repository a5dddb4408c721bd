#pragma once

#include "core/session.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace quimo::ui {

class CaptionLabel;
class Gauge;

// One block of the assessment: its six statements, each beside a gauge of the answer given.
// Shown modally from the block menu; "S&chließen" saves the window's picture first when the
// user asked for pictures.
class BlockDetailWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BlockDetailWindow)

public:
    BlockDetailWindow(int block, const Session &session, QWidget *parent);

    int block() const { return block_; }
    Gauge *gauge(int position) const;
    CaptionLabel *firstLineLabel(int position) const;
    CaptionLabel *continuationLabel(int position) const; // nullptr where there is none

public slots:
    void bitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void formCreate();
    void fitCaptionBoxes();

    int block_;
    const Session &session_;
    QPushButton *closeButton_;
    QLabel *image_;
    QList<Gauge *> gauges_;
    QList<CaptionLabel *> firstLines_;
    QList<CaptionLabel *> continuations_;
};

} // namespace quimo::ui
