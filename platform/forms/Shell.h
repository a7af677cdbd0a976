#pragma once
// The shell's "open": starts a program without waiting for it, or hands a web address to
// the desktop's browser.
#include <QString>
#include <QStringList>

// Results below 33 are failures, as the shell reports them.
enum : int {
    SE_ERR_FNF = 2,           // the file does not exist
    SE_ERR_ACCESSDENIED = 5,  // it exists but cannot be started
    SE_ERR_NOASSOC = 31,      // nothing opens the address
    SE_OK = 33,
};

// file: a program path, or an address with a scheme ("https://..."). A program is started
// detached with parameters as its arguments and the caller does not wait. An address is
// opened by the desktop; while the dialog service is scripted (tests, headless runs) it
// is only logged as a "ShellExecute" record with the address as its text.
int ShellExecute(const QString& file, const QStringList& parameters = {});
