#include "ui/overview_window.h"

#include "core/catalogue.h"
#include "core/file_names.h"
#include "core/scoring.h"
#include "ui/application.h"
#include "ui/bar_chart.h"
#include "ui/block_menu.h"
#include "ui/dialog_keys.h"
#include "ui/message_boxes.h"
#include "ui/open_dialog.h"
#include "ui/snapshot.h"
#include "ui/window_parts.h"
#include "ui/window_placement.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace quimo::ui {

namespace {

const QColor kNavy(0, 0, 128);
} // namespace

OverviewWindow::OverviewWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("quimoauswfrm"));
    setWindowTitle(QStringLiteral("QUIMO Trivelkanz: Auswertung Harnik QDX"));
    setFont(layoutFont(QStringLiteral("MS Sans Serif"), 11));
    setAutoFillBackground(true);

    chart_ = new BarChart(this);
    chart_->setObjectName(QStringLiteral("Chart1"));
    chart_->setGeometry(8, 11, 761, 489);
    chart_->setTitle(QStringLiteral("QUIMO-Auswertung"));
    chart_->setFootText(kAuthorNotice);
    chart_->setFocusPolicy(Qt::NoFocus);

    detail_ = makeButton(this, QStringLiteral("detail"), QStringLiteral("&Einzelauswertung"),
                         QRect(280, 515, 113, 33));
    buttonEnde_ = makeCloseButton(this, QStringLiteral("button_ende"), QRect(424, 512, 113, 33));
    makeNotice(this, QStringLiteral("Label3"), QPoint(11, 556), 12);
    image_ = makeScratchImage(this, QRect(664, 520, 57, 33));

    setTabOrder(buttonEnde_, detail_);
    buttonEnde_->setFocus();

    connect(detail_, &QPushButton::clicked, this, &OverviewWindow::detailClick);
    connect(buttonEnde_, &QPushButton::clicked, this, &OverviewWindow::buttonEndeClick);
    new DialogKeys(this);
    placeCentred(this, kOuterSize);

    firstActivation_ = true;
}

bool OverviewWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        formActivate();
        break;
    case QEvent::Show:
        // Without a window manager the window may never be activated; the start-up flow must
        // run all the same, once the window is on the screen.
        if (firstActivation_) {
            QTimer::singleShot(0, this, &OverviewWindow::formActivate);
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void OverviewWindow::formActivate()
{
    if (!firstActivation_) {
        return;
    }
    // Cleared first: the dialogs of the flow activate the window again when they close.
    firstActivation_ = false;
    runStartUp();
}

void OverviewWindow::runStartUp()
{
    session_.saveSnapshots = false;

    const std::optional<QString> chosen = OpenDialog::chooseDataFile(this);
    if (!chosen) {
        close();
        return;
    }
    session_.dataFilePath = chosen->toStdString();
    session_.baseName = baseName(session_.dataFilePath);
    session_.saveSnapshots = MessageBoxes::askSaveGraphics();

    if (!readAnswerRecord(session_.dataFilePath, session_.answers)) {
        MessageBoxes::showReadFailure();
        close();
        return;
    }
    fillChart();
    activateWindow();
    buttonEnde_->setFocus();
    emit evaluated();
}

void OverviewWindow::showEvaluation(const Session &session)
{
    firstActivation_ = false;
    session_ = session;
    fillChart();
}

void OverviewWindow::fillChart()
{
    const BlockTotals totals = blockTotals(session_.answers);
    for (int block = 1; block <= kBlockCount; ++block) {
        const std::uint64_t score = blockScore(totals[std::size_t(block - 1)]);
        chart_->addPoint(double(score), QString::fromUtf8(blockNames(block).chartLabel), kNavy);
    }
}

void OverviewWindow::detailClick()
{
    BlockMenu menu(session_, this);
    menu.exec();
    // Without a window manager nothing hands the focus back after a nested modal run.
    activateWindow();
}

void OverviewWindow::buttonEndeClick()
{
    if (session_.saveSnapshots) {
        const QString path = QString::fromStdString(overviewPictureName(session_.dataFilePath));
        saveSnapshot(this, 80, image_, path, path);
    }
    close();
}

} // namespace quimo::ui
