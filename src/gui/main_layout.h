#pragma once
// The main window's resize arithmetic: the tab control, every result list and its first four
// columns, and the status bar's parts follow the window's outer size. Results truncate.
#include <QSize>
#include <array>

struct MainLayout {
    QSize tabControl;
    QSize resultList;
    std::array<int, 4> columnWidths;  // the magnet column keeps width 0
    std::array<int, 3> statusPartWidths;
};

struct MainLayoutInput {
    QSize outer;         // the main window's outer size
    int tabControlTop;
    int resultListTop;
    int statusBarHeight;
    int statusBarWidth;
};

MainLayout computeMainLayout(const MainLayoutInput& input);
