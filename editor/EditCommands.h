#pragma once
// The Edit commands of the main window and the idle update of the command states. The
// commands act on the pane that has the focus: the code pane or the preview. Find and Find
// Next search the code pane forward, without wrapping around.
class TfrmMain;

class TEditCommands {
public:
    explicit TEditCommands(TfrmMain& form) : form_(form) {}

    // Enabled states of Save and the Edit commands and the colours of the pane labels.
    // Never raises: a preview without a document has no selection.
    void UpdateCommandStates();

    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    void SelectAll();
    void Find();
    void FindNext();
    // The find dialog's Find Next button.
    void FindAgain();

private:
    bool CodeFocused() const;
    bool BrowserHasSelection() const;

    TfrmMain& form_;
};
