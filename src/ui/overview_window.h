#pragma once

#include "core/session.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace quimo::ui {

class BarChart;

// The main window: lets the user choose the answer file on its first activation, shows the
// nine block scores as a bar chart and opens the block menu.
class OverviewWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverviewWindow)

public:
    static constexpr QSize kOuterSize{808, 609};

    explicit OverviewWindow(QWidget *parent = nullptr);

    const Session &session() const { return session_; }

    // Shows the evaluation of an answer file that has been read already, without asking
    // anything: for rendering the window's picture without a user.
    void showEvaluation(const Session &session);

public slots:
    // Runs the start-up flow the first time, and nothing afterwards.
    void formActivate();
    // "&Einzelauswertung": the block menu, modal.
    void detailClick();
    // "S&chließen": the picture first when the user asked for pictures, then the end.
    void buttonEndeClick();

signals:
    // The start-up flow has filled the chart.
    void evaluated();

protected:
    bool event(QEvent *event) override;

private:
    void runStartUp();
    void fillChart();

    Session session_;
    bool firstActivation_ = false;
    BarChart *chart_;
    QPushButton *detail_;
    QPushButton *buttonEnde_;
    QLabel *image_;
};

} // namespace quimo::ui
