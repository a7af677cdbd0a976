#pragma once
// The View, browser, print and help commands of the main window: the two panes' layout,
// the bars, the preview's history and printing, and starting the help viewer.
#include <QString>

class TfrmMain;

class TViewCommands {
public:
    explicit TViewCommands(TfrmMain& form) : form_(form) {}

    // Code pane widths and heights the layout commands set.
    static constexpr int kCodeWidth = 273;
    static constexpr int kCodeHeight = 177;

    void Swap();
    void ToggleCode();
    void ToggleBrowser();
    void ToggleWordWrap();
    // Shows or hides the bar with index in the manager's bars.
    void ToggleBar(int index);

    void Back();
    void Forward();
    void Stop();
    void Refresh();
    void Print();
    void PrintPreview();
    void PageSetup();

    // Starts the help viewer beside the program with parameter ("", "H" or "C").
    void StartHelp(const QString& parameter);
    void VisitWeb();

private:
    // Puts the splitter right of (side by side) or under (swapped) the code pane.
    void PlaceSplitter(bool swapped);
    // The shell's result: a missing or unstartable file gets the help error.
    static void CheckShellResult(int result);

    TfrmMain& form_;
};
