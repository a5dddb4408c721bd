#include "ui/block_layout.h"

#include <cassert>

namespace quimo::ui {

namespace {

struct Row
{
    std::array<int, 6> labelTops;
    QPoint closeButton;
    QPoint notice;
};

constexpr std::array<Row, 9> kRows{{
    {{23, 63, 103, 143, 183, 223}, {335, 265}, {11, 312}},
    {{23, 63, 101, 143, 183, 221}, {335, 257}, {11, 304}},
    {{23, 63, 101, 143, 181, 221}, {335, 257}, {19, 304}},
    {{39, 87, 117, 151, 183, 221}, {335, 257}, {19, 312}},
    {{23, 63, 101, 143, 183, 221}, {327, 265}, {19, 312}},
    {{23, 60, 101, 130, 183, 221}, {335, 257}, {19, 304}},
    {{23, 52, 95, 135, 175, 215}, {335, 265}, {11, 317}},
    {{23, 52, 93, 132, 172, 213}, {335, 257}, {11, 312}},
    {{28, 68, 109, 148, 188, 221}, {335, 265}, {19, 312}},
}};

constexpr std::array<int, 6> kGaugeTops{24, 62, 102, 142, 182, 222};

} // namespace

BlockLayout blockLayout(int block)
{
    assert(block >= 1 && block <= 9);
    const Row &row = kRows[std::size_t(block - 1)];

    BlockLayout layout;
    layout.closeButton = row.closeButton;
    layout.notice = row.notice;
    for (std::size_t i = 0; i < 6; ++i) {
        layout.statements[i].firstLine = QRect(16, row.labelTops[i], 465, 21);
        layout.statements[i].gaugeTop = kGaugeTops[i];
    }
    auto box = [&layout](int position) -> QRect & {
        return layout.statements[std::size_t(position - 1)].firstLine;
    };
    auto continuation = [&layout](int position, QRect rect) {
        layout.statements[std::size_t(position - 1)].continuation = rect;
    };

    switch (block) {
    case 1:
    case 2:
        box(1).setWidth(388);
        box(4).setWidth(388);
        break;
    case 3:
        box(1).setWidth(388);
        box(2).setWidth(473);
        box(4).setWidth(505);
        break;
    case 4:
        layout.statements[0].fitToCaption = true;
        continuation(1, QRect(16, 55, 465, 18));
        for (int position = 2; position <= 6; ++position) {
            box(position).setHeight(18);
        }
        break;
    case 5:
        box(5).setWidth(473);
        box(6).setWidth(473);
        break;
    case 6:
        box(3).setHeight(18);
        continuation(4, QRect(34, 148, 465, 18));
        layout.statements[3].gaugeTop = 134;
        break;
    case 7:
        layout.outerHeight = 375;
        box(2).setHeight(18);
        continuation(2, QRect(34, 68, 465, 18));
        break;
    case 8:
        box(2).setHeight(18);
        continuation(2, QRect(34, 68, 465, 18));
        break;
    case 9:
        box(3).setWidth(513);
        break;
    default:
        break;
    }
    return layout;
}

} // namespace quimo::ui
