#pragma once

namespace tessaly {

// Every menu item, toolbar button and frame key ends in one of these command
// numbers. The visual styles keep their numbers because the chosen number is
// what "ApplicationLook" stores; print and the console keep theirs because
// their prompt texts live under the same numbers.
enum class CommandId : int {
    // File
    kFileNew = 57600,
    kFileOpen = 57601,
    kFileSave = 57603,
    kFileSaveAs = 57604,
    kExportImage = 360,
    kPrint = 361,
    kEnvironmentSettings = 362,
    kRecentFilesDialog = 363,
    kRecentFilesPlace = 364,  // the place of the recent-file list, never run
    kRecentFile1 = 57616,     // ..kRecentFile1 + 15
    kAppExit = 57665,

    // Edit
    kEditUndo = 57643,
    kEditRedo = 57644,
    kEditCopy = 57634,
    kEditPaste = 57637,
    kEditDelete = 57632,

    // View
    kHideSelected = 380,
    kShowAll = 381,
    kGridNone = 390,
    kGridCross = 391,
    kGrid10 = 392,
    kGrid40 = 393,
    kGrid70 = 394,
    kGrid100 = 395,
    kGridOnTop = 396,
    kZoomIn = 397,
    kZoomOut = 398,
    kZoomFit = 399,
    kViewToolBar = 59392,
    kViewStatusBar = 59393,
    kStyleWindows2000 = 205,
    kStyleOfficeXp = 206,
    kStyleWindowsXp = 207,
    kStyleOffice2003 = 208,
    kStyleVs2005 = 209,
    kStyleVs2008 = 210,
    kStyleOffice2007Blue = 215,
    kStyleOffice2007Black = 216,
    kStyleOffice2007Silver = 217,
    kStyleOffice2007Aqua = 218,
    kStyleWindows7 = 219,  // reachable only through a stored value

    // Photomosaic
    kSetBackground = 425,
    kConsole = 426,
    kAddImages = 427,
    kImageSizeCheck = 428,
    kBatchCreate = 429,

    // Multi-cut
    kMultiCutStart = 440,
    kMultiCutStop = 441,
    kMultiCutExecute = 442,
    kMultiCutSettings = 443,

    // Rotate
    kRotateRight = 450,
    kRotate180 = 451,
    kRotateLeft = 452,
    kMirrorLeftRight = 453,
    kMirrorTopBottom = 454,

    // Align
    kAlignLeft = 460,
    kAlignRight = 461,
    kAlignTop = 462,
    kAlignBottom = 463,
    kCentreVertical = 464,
    kCentreHorizontal = 465,
    kSpaceVertical = 466,
    kSpaceHorizontal = 467,
    kSameWidth = 468,
    kSameHeight = 469,
    kSameSize = 470,

    // Help
    kManual = 480,
    kAbout = 57664,

    // Frame keys without a menu item
    kToggleGuide = 490,
    kToggleAnimation = 491,

    // Items of the canvas's context menus that the menu bar does not have
    kSelectAll = 310,
    kConsoleToTopLeft = 311,
    kPickNoSetColour = 312,
    kViewProperties = 313,
    kBringToFront = 320,
    kSwapPositions = 321,
    kSendToBack = 322,
    kRandomPositions = 323,
    kChangeImage = 324,
    kSaveNodeImage = 325,
    kImageProperties = 326,
    kSwapWithSimilar = 327,
    kCutWiden = 330,
    kCutNarrow = 331,
    kCutMaximum = 332,
    kCutLineColour = 333,
    kCutLineWidth1 = 334,  // ..kCutLineWidth1 + 4
};

inline constexpr int kCutLineWidths = 5;

inline constexpr CommandId CutLineWidthCommand(int width) {
    return static_cast<CommandId>(static_cast<int>(CommandId::kCutLineWidth1) + width - 1);
}

inline constexpr int kRecentFileCommands = 16;

inline constexpr CommandId RecentFileCommand(int index) {
    return static_cast<CommandId>(static_cast<int>(CommandId::kRecentFile1) + index);
}

}  // namespace tessaly
