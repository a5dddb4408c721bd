#include "ui/block_menu.h"

#include "core/catalogue.h"
#include "ui/application.h"
#include "ui/block_detail_window.h"
#include "ui/dialog_keys.h"
#include "ui/pictures.h"
#include "ui/window_parts.h"
#include "ui/window_placement.h"

#include <QLabel>
#include <QPushButton>

namespace quimo::ui {

namespace {

const QString kHint =
    QStringLiteral("Bearbeitete Frageblöcke sind durch ein Häkchen gekennzeichnet");

} // namespace

BlockMenu::BlockMenu(const Session &session, QWidget *parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("quimoauswmenufrm"));
    setWindowTitle(QStringLiteral("QUIMO Einzelauswertung Harnik QDX"));
    setFont(layoutFont(QStringLiteral("MS Sans Serif"), 11));
    setWhiteBackground(this);

    for (int block = 1; block <= kBlockCount; ++block) {
        QPushButton *button = makeButton(this, QStringLiteral("button%1").arg(block),
                                         QString::fromUtf8(blockNames(block).menuCaption),
                                         QRect(24, 16 + 48 * (block - 1), 200, 33));
        button->setToolTip(kHint);
        button->setToolTipDuration(2500);
        connect(button, &QPushButton::clicked, this, [this, block] { openBlock(block); });
        blockButtons_.append(button);

        // In the margin left of the button: the longest captions fill their buttons.
        auto *check = new QLabel(this);
        check->setObjectName(QStringLiteral("check%1").arg(block));
        check->setPixmap(checkMarkIcon().pixmap(18, 18));
        check->setGeometry(3, button->y() + (button->height() - 18) / 2, 18, 18);
        check->hide();
        checkMarks_.append(check);
    }

    closeButton_ = makeCloseButton(this, QStringLiteral("BitBtn1"), QRect(264, 352, 129, 33));
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);

    // The logo is shrunk to the box's width, keeping its proportions, at the top left corner.
    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("Image1"));
    logo_->setGeometry(256, 24, 137, 129);
    logo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QPixmap logo = logoPixmap();
    if (!logo.isNull()) {
        logo_->setPixmap(logo.width() > 137 || logo.height() > 129
                             ? logo.scaled(137, 129, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             : logo);
    }

    // Tab order: the first eight blocks, the close button, then block 9.
    QWidget *previous = blockButtons_.first();
    for (int block = 2; block <= 8; ++block) {
        setTabOrder(previous, blockButtons_[block - 1]);
        previous = blockButtons_[block - 1];
    }
    setTabOrder(previous, closeButton_);
    setTabOrder(closeButton_, blockButtons_.last());

    auto *keys = new DialogKeys(this);
    keys->setCancelButton(blockButtons_.first());
    placeCentred(this, kOuterSize);
}

QPushButton *BlockMenu::blockButton(int block) const
{
    return blockButtons_.value(block - 1);
}

bool BlockMenu::isViewed(int block) const
{
    const QLabel *check = checkMarks_.value(block - 1);
    return check && !check->isHidden();
}

void BlockMenu::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    blockButtons_.first()->setFocus();
}

void BlockMenu::openBlock(int block)
{
    {
        BlockDetailWindow window(block, session_, this);
        window.exec();
    }
    // The hint promises a check mark on every block that has been looked at.
    checkMarks_[block - 1]->show();

    // Without a window manager nothing hands the focus back after the nested modal run.
    activateWindow();
    QPushButton *next = block < kBlockCount ? blockButtons_[block] : closeButton_;
    next->setFocus();
}

} // namespace quimo::ui
