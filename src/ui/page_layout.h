// Where the main window puts everything, computed from the sizes of the skin pieces and of the
// controls that keep their own size. Positions are relative to the control's parent: the
// window's client area for the top bar, close button, title and page panels, the page panel for
// everything on a page.
#pragma once

#include <optional>

#include "platform/geometry.h"

namespace setup::ui {

// The top bar image: 3 pixels in from the left and top, 6 wider than its piece.
Bounds TopBackBounds(Size top_piece);
// The client size the window takes: the top bar's width, and the heights of the top bar and of
// page 1's centre and bottom images plus 5.
Size WindowClientSize(const Bounds& top_back, int page1_center_height, int page1_bottom_height);
Bounds CloseButtonBounds(int window_width, Size button);
// The title on page 1; the other pages keep what page 1 gave it.
Bounds WelcomeTitleBounds(const Bounds& top_back);

// A page's panel, and its centre and bottom images inside it.
struct PageFrame {
    Bounds panel, center, bottom;
};
PageFrame LayoutPageFrame(const Bounds& top_back, Size center_piece, Size bottom_piece);

struct Page1Layout {
    Bounds LblHintDir, redtRead, BtnAccept, BtnCancel, chkQuestion;
};
Page1Layout LayoutPage1(int client_width, const PageFrame& frame, Size accept, Size cancel);

struct Page2Layout {
    Bounds lblDirHint, EditDir, BtnSetDir, BtnNext, BtnCancelPage2, chkAddToDesk, chkAddToQuickBar,
        chkStartWindows, lblHintSystem, edtDatPath, btnDatPath, lblHint1, lblHint2;
};
// Buttons and lblHint2 keep their own sizes.
struct Page2OwnSizes {
    Size BtnSetDir, BtnNext, BtnCancelPage2, btnDatPath, lblHint2;
};
Page2Layout LayoutPage2(int client_width, const PageFrame& frame, const Page2OwnSizes& own);

struct Page3Layout {
    Bounds imgProcessBarBack, imgProcessBar, lblNowCopyFile, lblProcessBarHint, BtnCancelPage3;
};
// The percentage label is centred on the window's client width although it lies on the panel.
Page3Layout LayoutPage3(int client_width, const PageFrame& frame, Size bar_frame_piece,
                        Size percentage_label, Size cancel);

struct Page4Layout {
    Bounds chkStartMorlan, chkAddToFavorites, lblHintCancel, lblFailedFiles, memFailedFiles,
        BtnComplete, lblRestartHint;
};
Page4Layout LayoutPage4(int client_width, const PageFrame& frame, Size complete);

// The whole window laid out at the sizes of the skin it was designed with. The window is built
// at these places and laid out again, from the same functions, once its skin is cut; with the
// shipped skin both agree, so every position is written once, in this file.
struct FormLayout {
    Bounds imgTopBack, btnWinClose, LblWelcome1;
    PageFrame frame;
    Page1Layout page1;
    Page2Layout page2;
    Page3Layout page3;
    Page4Layout page4;
};
const FormLayout& DesignLayout();

// What a page switch shows: one panel, and on page 1 the licence box, agree box and accept
// button.
struct PageVisibility {
    bool panels[4] = {};
    bool licence_controls = false;
};
// Nothing for a page outside 1 to 4: such a switch changes no visibility.
std::optional<PageVisibility> VisibilityForPage(int page);

}  // namespace setup::ui
