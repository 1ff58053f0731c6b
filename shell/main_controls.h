#pragma once

#include <QAction>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QToolBar;

namespace vshell
{

// An option of the mark with an "On" and an "Off" item.
struct OnOffMenu {
    QMenu *menu = nullptr;
    QAction *on = nullptr;
    QAction *off = nullptr; // none for the hidden rotation item
};

// The main window's controls that its handlers reach. Every object carries its control's name
// as its objectName, so tests and later windows find them the same way.
struct MainControls {
    // File
    QMenu *File1 = nullptr;
    QMenu *Selectport1 = nullptr;
    std::array<QAction *, 6> Com{};
    QMenu *Printer1 = nullptr;
    std::array<QAction *, 6> Printers{};
    QAction *LoadDateTimeM = nullptr;
    QAction *Start = nullptr;
    QAction *Halt1 = nullptr;
    QAction *SaveJobAs1 = nullptr;
    QAction *OpenJob1 = nullptr;
    QMenu *RecentJobs1 = nullptr;
    QAction *FileExitItem = nullptr;

    // FKey (hidden)
    QMenu *FKey1 = nullptr;
    QAction *FKeyFragEdit = nullptr;
    QAction *FKeyCounter = nullptr;
    QAction *FKeyTimeDate = nullptr;
    QAction *FKeyMarkRead = nullptr;
    QAction *FKeyPostDate = nullptr;

    // Tools
    QMenu *Tools1 = nullptr;
    QAction *FragEdit1 = nullptr;
    QAction *Counter2 = nullptr;
    QAction *ime1 = nullptr;
    QAction *PDate2 = nullptr;
    QAction *LogoToMarkAction1 = nullptr;
    QAction *DepotLogoPaste1 = nullptr;
    QMenu *SpecFunc1 = nullptr;
    QAction *ScriptRead1 = nullptr;
    QAction *Write1 = nullptr;

    // Graphics
    QMenu *Graphics1 = nullptr;
    QAction *Load1 = nullptr;
    QAction *Read2 = nullptr;
    QAction *LogosView1 = nullptr;
    QAction *MarkRead1 = nullptr;
    QAction *ReadMSWordtextviaClipBoard1 = nullptr;
    QAction *DepotLogoLoad1 = nullptr;
    QAction *DepotLogoRead1 = nullptr;
    QAction *DepotLogosView1 = nullptr;

    // Mark
    QMenu *Mark1 = nullptr;
    QAction *MarkWriteToStorage_ = nullptr;
    QAction *MarkReadFromStorage_ = nullptr;
    QAction *MarkDelete1 = nullptr;
    QMenu *Config1 = nullptr;
    OnOffMenu MirrorHorizontally1;
    OnOffMenu MirrorVertically1;
    OnOffMenu BreakPointCorrection1;
    OnOffMenu MarkPrintDirection;       // hidden
    OnOffMenu MarkBreakPointCorrection; // hidden
    OnOffMenu MarkRotation;             // hidden, "On" only
    QAction *MarkReadHidden = nullptr;
    QAction *Font1 = nullptr;

    // Commands
    QMenu *Commands1 = nullptr;
    QAction *AutoRunStop1 = nullptr;
    QAction *RunningNumberReset = nullptr;
    QAction *PrintStart = nullptr;
    QAction *HighVoltageTurn = nullptr;
    QAction *Reset = nullptr;
    QMenu *RunningNumberDirection1 = nullptr;
    QAction *Forward1 = nullptr;
    QAction *Back = nullptr;
    QAction *AutoRunPeriod = nullptr;

    // Params
    QMenu *Params1 = nullptr;
    QAction *ParamsValue1 = nullptr;
    QAction *ByteStatus1 = nullptr;
    QAction *DepotBankMaxNum1 = nullptr;
    QAction *DepotVersia1 = nullptr;

    // HydroSystem (hidden, disabled)
    QMenu *HydroSystem1 = nullptr;

    // Batch
    QMenu *Batch1 = nullptr;
    QAction *CardNumbers1 = nullptr;
    QAction *PrintFromFile1 = nullptr;

    // Help
    QMenu *Help1 = nullptr;
    QAction *HelpItem = nullptr;
    QAction *About1 = nullptr;

    // Actions without a menu item or button.
    QAction *EditCut1 = nullptr;
    QAction *FileOpen1 = nullptr;
    QAction *FileSave1 = nullptr;
    QAction *FileSaveAs1 = nullptr;

    // Tool bar, left to right, then the hidden buttons.
    QToolBar *ToolBar1 = nullptr;
    QAction *TbStart = nullptr;
    QAction *TbTextFragment = nullptr;
    QAction *TbCounter = nullptr;
    QAction *TbTimeDate = nullptr;
    QAction *TbSpecFuncWrite = nullptr;
    QAction *TbLogoLoad = nullptr;
    QAction *TbLogoRead = nullptr;
    QAction *TbLogosView = nullptr;
    QAction *TbMarkRead = nullptr;
    QAction *TbClipBoard = nullptr;
    QAction *TbMarkStore = nullptr;
    QAction *TbMarkRestore = nullptr;
    QAction *TbMarkDelete = nullptr;
    QAction *TbAutoRunStop = nullptr;
    QAction *TbRunningNumberReset = nullptr;
    QAction *TbHighVoltageTurn = nullptr;
    QAction *TbParamsValue = nullptr;
    QAction *TbHydroSystemParams = nullptr;
    QAction *TbByteStatus = nullptr;
    std::array<QAction *, 3> TbTest{};

    // The panel.
    QLabel *LMX = nullptr;
    QComboBox *CBDevice = nullptr;
    QCheckBox *CBDepotNow = nullptr;
};

} // namespace vshell
