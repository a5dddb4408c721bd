#pragma once

#include <QPoint>
#include <QRect>

#include <array>
#include <optional>

namespace quimo::ui {

// Where a block's detail window places its statements, gauges and buttons. The nine windows
// share one design and differ only in a few coordinates, so the differences live in one table.
struct StatementPlacement
{
    QRect firstLine;                   // box of the first-line caption
    bool fitToCaption = false;         // box grows to the caption's one-line width
    std::optional<QRect> continuation; // questions 4, 16, 17 and 33 only
    int gaugeTop = 0;
};

struct BlockLayout
{
    int outerHeight = 362;
    std::array<StatementPlacement, 6> statements;
    QPoint closeButton;
    QPoint notice;
};

inline constexpr int kDetailOuterWidth = 752;
inline constexpr QSize kGaugeSize{160, 21};
inline constexpr int kGaugeLeft = 536;
inline constexpr QSize kCloseButtonSize{121, 33};
inline constexpr QRect kScratchImage{552, 278, 49, 25};

// block: 1..9
BlockLayout blockLayout(int block);

} // namespace quimo::ui
