#pragma once
// The file commands of the main window: New, Open, Save, Save As and Example, the save
// prompt that guards them and the window caption that names the document.
//
// A document changes as one step: its file is read completely first, and only then do
// the code pane, the path bar, the file name and the caption change together, so a failed
// read leaves all of them naming the old document. Saves write through a temporary file
// and a rename; a failed save leaves the old file as it was. A file's encoding (UTF-8 with or
// without a byte-order mark, or the 8-bit code page) is kept for its saves, Save As
// included; New and Example documents take theirs afresh.
#include "TextFile.h"

#include <QString>
#include <functional>

class TfrmMain;

class TFileCommands {
public:
    // Reads a whole file, or raises why it cannot.
    using TReader = std::function<TTextDocument(const QString& path)>;

    explicit TFileCommands(
        TfrmMain& form, TReader reader = [](const QString& path) { return ReadTextFile(path); })
        : form_(form), reader_(std::move(reader))
    {}

    // True when the document was saved; raises the silent abort on Cancel and when Yes did
    // not write the document (a cancelled Save As, a failed write).
    bool AskSaveChanges();
    void New();
    void Open();
    // Each returns whether the document was written.
    bool Save();
    bool SaveAs();
    void Example();
    // The file named on the command line; a failure shows its error and runs New.
    void OpenCommandLineFile();

    // Whether the document's saves start with a byte-order mark.
    bool Bom() const { return bom_; }
    TTextEncoding Encoding() const { return encoding_; }

private:
    // Shows document in the code pane and the preview; folder is the path bar's text,
    // fileName the save dialog's, label the caption's document name.
    void Show(const TTextDocument& document, const QString& folder, const QString& fileName, const QString& label);
    void SetCaption(const QString& label);
    // The folder Open and Save As start in: the document's, else the one a file was last
    // opened from or saved to, else the working folder (the home folder when that is the
    // program's own).
    QString StartFolder() const;
    // Writes the code pane to path; false (after the error box) when it failed.
    bool Write(const QString& path);

    TfrmMain& form_;
    TReader reader_;
    bool bom_ = false;
    TTextEncoding encoding_ = TTextEncoding::Utf8;
    QString lastFolder_;
};
