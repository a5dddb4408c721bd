#pragma once

#include "core/session.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;

namespace quimo::ui {

// The nine blocks as buttons, one above the other. Each opens its block's detail window; after
// it has been closed the focus moves on to the next block, so Enter walks through all nine.
class BlockMenu final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BlockMenu)

public:
    static constexpr QSize kOuterSize{417, 484};

    BlockMenu(const Session &session, QWidget *parent);

    QPushButton *blockButton(int block) const;
    QPushButton *closeButton() const { return closeButton_; }
    // Whether the block's detail window has been closed since this menu opened; such a block
    // shows a check mark left of its button.
    bool isViewed(int block) const;

public slots:
    // buttonNClick: opens block 1..9 modally on top of the menu.
    void openBlock(int block);

protected:
    void showEvent(QShowEvent *event) override;

private:
    const Session &session_;
    QList<QPushButton *> blockButtons_;
    QList<QLabel *> checkMarks_;
    QPushButton *closeButton_;
    QLabel *logo_;
};

} // namespace quimo::ui
