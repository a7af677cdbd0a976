#pragma once
// The editor's settings kept between runs: the window and pane layout under
// "\Software\Morvath" and the five custom inserts under "\Software\Morvath\Custom".
//
// Values read back are checked before use: a value of the wrong type counts as absent, a
// window size below kMinWindowSize is ignored, a window place whose rectangle meets no
// screen is ignored, and the code pane's size is clamped to the pane area.
#include <QList>
#include <QRect>
#include <QString>
#include <array>
#include <optional>

class TRegistry;
class TfrmMain;

namespace editorsettings {

constexpr int kMinWindowSize = 100;
constexpr int kCustomCount = 5;

struct TLayoutValues {
    std::optional<int> format, splitLeft, splitTop, width, height, top, left;
    std::optional<bool> maximized, codeWin, browseWin, dynamic, wordWrap;
};

struct TCustomInsert {
    QString name, text;
};
using TCustomInserts = std::array<std::optional<TCustomInsert>, kCustomCount>;

// The stored layout; absent or mistyped values are empty.
TLayoutValues ReadLayout(TRegistry& registry);
// Writes the present values.
void WriteLayout(TRegistry& registry, const TLayoutValues& values);
// values without a window size or place that cannot be used on these screens.
TLayoutValues CheckedWindow(TLayoutValues values, const QList<QRect>& screens);
// A stored code pane size within [0, limit].
int ClampPaneSize(int value, int limit);

// The stored pairs; a slot is empty unless both its name and its text are stored strings.
TCustomInserts ReadCustomInserts(TRegistry& registry);
// Writes each pair whose name and text are both non-empty; the others keep what is stored.
void WriteCustomInserts(TRegistry& registry, const std::array<TCustomInsert, kCustomCount>& inserts);

// Reads and applies, and collects and writes, the main window's settings.
class TEditorSettings {
public:
    explicit TEditorSettings(TfrmMain& form) : form_(form) {}
    void LoadLayout();
    void SaveLayout();
    void LoadCustomInserts();
    void SaveCustomInserts();

private:
    TfrmMain& form_;
};

}  // namespace editorsettings
