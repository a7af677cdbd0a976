#include "Keys.h"

#include <QMouseEvent>
#include <array>
#include <utility>

namespace {

struct KeyName {
    int vk;
    const char* name;
};

// Names of the keys that are neither letters, digits nor function keys.
constexpr std::array kKeyNames{
    KeyName{VK_BACK, "BkSp"},      KeyName{VK_TAB, "Tab"},        KeyName{VK_ESCAPE, "Esc"},
    KeyName{VK_RETURN, "Enter"},   KeyName{VK_SPACE, "Space"},    KeyName{VK_PRIOR, "PgUp"},
    KeyName{VK_NEXT, "PgDn"},      KeyName{VK_END, "End"},        KeyName{VK_HOME, "Home"},
    KeyName{VK_LEFT, "Left"},      KeyName{VK_UP, "Up"},          KeyName{VK_RIGHT, "Right"},
    KeyName{VK_DOWN, "Down"},      KeyName{VK_INSERT, "Ins"},     KeyName{VK_DELETE, "Del"},
    KeyName{VK_PAUSE, "Pause"},    KeyName{VK_MULTIPLY, "Num *"}, KeyName{VK_ADD, "Num +"},
    KeyName{VK_SUBTRACT, "Num -"}, KeyName{VK_DECIMAL, "Num ."},  KeyName{VK_DIVIDE, "Num /"},
    KeyName{VK_OEM_1, ";"},        KeyName{VK_OEM_PLUS, "="},     KeyName{VK_OEM_COMMA, ","},
    KeyName{VK_OEM_MINUS, "-"},    KeyName{VK_OEM_PERIOD, "."},   KeyName{VK_OEM_2, "/"},
    KeyName{VK_OEM_3, "`"},        KeyName{VK_OEM_4, "["},        KeyName{VK_OEM_5, "\\"},
    KeyName{VK_OEM_6, "]"},        KeyName{VK_OEM_7, "'"},
};

QString KeyToText(int vk)
{
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return QString(QChar(vk));
    if (vk >= VK_F1 && vk <= VK_F24) return QStringLiteral("F%1").arg(vk - VK_F1 + 1);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return QStringLiteral("Num %1").arg(vk - VK_NUMPAD0);
    for (const KeyName& k : kKeyNames)
        if (k.vk == vk) return QString::fromLatin1(k.name);
    return {};
}

int TextToKey(const QString& text)
{
    if (text.isEmpty()) return 0;
    for (int vk = 1; vk <= 0xFF; ++vk) {
        const QString name = KeyToText(vk);
        if (!name.isEmpty() && name.compare(text, Qt::CaseInsensitive) == 0) return vk;
    }
    return 0;
}

struct Modifier {
    const char* name;
    TShortCut bit;
};
// Text order of the modifiers.
constexpr std::array kModifiers{Modifier{"Ctrl+", scCtrl}, Modifier{"Shift+", scShift}, Modifier{"Alt+", scAlt}};

}  // namespace

TShortCut ShortCut(int key, TShiftState shift)
{
    if (key <= 0 || key > 0xFF) return scNone;
    TShortCut result = TShortCut(key);
    if (shift & ssShift) result |= scShift;
    if (shift & ssCtrl) result |= scCtrl;
    if (shift & ssAlt) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, int& key, TShiftState& shift)
{
    key = shortCut & 0xFF;
    shift = {};
    if (shortCut & scShift) shift |= ssShift;
    if (shortCut & scCtrl) shift |= ssCtrl;
    if (shortCut & scAlt) shift |= ssAlt;
}

QString ShortCutToText(TShortCut shortCut)
{
    const QString key = KeyToText(shortCut & 0xFF);
    if (key.isEmpty()) return {};
    QString result;
    for (const Modifier& m : kModifiers)
        if (shortCut & m.bit) result += QString::fromLatin1(m.name);
    return result + key;
}

TShortCut TextToShortCut(const QString& text)
{
    QString rest = text.trimmed();
    TShortCut mods = 0;
    bool found = true;
    // Strips modifiers in any order; a lone "+" after them is left as the key name.
    while (found && rest.size() > 1) {
        found = false;
        for (const Modifier& m : kModifiers) {
            const QString name = QString::fromLatin1(m.name);
            if (rest.size() > name.size() && rest.startsWith(name, Qt::CaseInsensitive)) {
                mods |= m.bit;
                rest = rest.mid(name.size());
                found = true;
            }
        }
    }
    const int key = TextToKey(rest);
    return key ? TShortCut(key | mods) : scNone;
}

namespace {

// Qt keys whose virtual key is not computed from a range.
constexpr std::array kQtKeys{
    std::pair{int(Qt::Key_Backspace), int(VK_BACK)},    std::pair{int(Qt::Key_Tab), int(VK_TAB)},
    std::pair{int(Qt::Key_Backtab), int(VK_TAB)},       std::pair{int(Qt::Key_Return), int(VK_RETURN)},
    std::pair{int(Qt::Key_Enter), int(VK_RETURN)},      std::pair{int(Qt::Key_Shift), int(VK_SHIFT)},
    std::pair{int(Qt::Key_Control), int(VK_CONTROL)},   std::pair{int(Qt::Key_Alt), int(VK_MENU)},
    std::pair{int(Qt::Key_Pause), int(VK_PAUSE)},       std::pair{int(Qt::Key_CapsLock), int(VK_CAPITAL)},
    std::pair{int(Qt::Key_Escape), int(VK_ESCAPE)},     std::pair{int(Qt::Key_Space), int(VK_SPACE)},
    std::pair{int(Qt::Key_PageUp), int(VK_PRIOR)},      std::pair{int(Qt::Key_PageDown), int(VK_NEXT)},
    std::pair{int(Qt::Key_End), int(VK_END)},           std::pair{int(Qt::Key_Home), int(VK_HOME)},
    std::pair{int(Qt::Key_Left), int(VK_LEFT)},         std::pair{int(Qt::Key_Up), int(VK_UP)},
    std::pair{int(Qt::Key_Right), int(VK_RIGHT)},       std::pair{int(Qt::Key_Down), int(VK_DOWN)},
    std::pair{int(Qt::Key_Print), int(VK_SNAPSHOT)},    std::pair{int(Qt::Key_Insert), int(VK_INSERT)},
    std::pair{int(Qt::Key_Delete), int(VK_DELETE)},     std::pair{int(Qt::Key_Help), int(VK_HELP)},
    std::pair{int(Qt::Key_Meta), int(VK_LWIN)},         std::pair{int(Qt::Key_Menu), int(VK_APPS)},
    std::pair{int(Qt::Key_NumLock), int(VK_NUMLOCK)},   std::pair{int(Qt::Key_ScrollLock), int(VK_SCROLL)},
    std::pair{int(Qt::Key_Asterisk), int(VK_MULTIPLY)}, std::pair{int(Qt::Key_Plus), int(VK_OEM_PLUS)},
    std::pair{int(Qt::Key_Equal), int(VK_OEM_PLUS)},    std::pair{int(Qt::Key_Semicolon), int(VK_OEM_1)},
    std::pair{int(Qt::Key_Comma), int(VK_OEM_COMMA)},   std::pair{int(Qt::Key_Minus), int(VK_OEM_MINUS)},
    std::pair{int(Qt::Key_Period), int(VK_OEM_PERIOD)}, std::pair{int(Qt::Key_Slash), int(VK_OEM_2)},
    std::pair{int(Qt::Key_QuoteLeft), int(VK_OEM_3)},   std::pair{int(Qt::Key_BracketLeft), int(VK_OEM_4)},
    std::pair{int(Qt::Key_Backslash), int(VK_OEM_5)},   std::pair{int(Qt::Key_BracketRight), int(VK_OEM_6)},
    std::pair{int(Qt::Key_Apostrophe), int(VK_OEM_7)},
};

}  // namespace

int QtKeyToVK(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return VK_NUMPAD0 + (qtKey - Qt::Key_0);
        switch (qtKey) {
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Period: return VK_DECIMAL;
        case Qt::Key_Slash: return VK_DIVIDE;
        default: break;
        }
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;  // Qt uses the ASCII codes of digits and upper-case letters too
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
    for (const auto& [qt, vk] : kQtKeys)
        if (qt == qtKey) return vk;
    return 0;
}

int VKToQtKey(int vk)
{
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
    if (vk >= VK_F1 && vk <= VK_F24) return Qt::Key_F1 + (vk - VK_F1);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return Qt::Key_0 + (vk - VK_NUMPAD0);
    if (vk == VK_ADD) return Qt::Key_Plus;
    if (vk == VK_SUBTRACT) return Qt::Key_Minus;
    if (vk == VK_DECIMAL) return Qt::Key_Period;
    if (vk == VK_DIVIDE) return Qt::Key_Slash;
    for (const auto& [qt, v] : kQtKeys)
        if (v == vk) return qt;  // the first entry of a virtual key is its main Qt key
    return 0;
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers)
{
    TShiftState s;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    return s;
}

TShiftState ShiftStateFromMouse(const QMouseEvent* event)
{
    TShiftState shift = ShiftStateFromQt(event->modifiers());
    if (event->buttons() & Qt::LeftButton) shift |= ssLeft;
    if (event->buttons() & Qt::RightButton) shift |= ssRight;
    if (event->buttons() & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

Qt::KeyboardModifiers QtModifiersFromShiftState(TShiftState shift)
{
    Qt::KeyboardModifiers m;
    if (shift & ssShift) m |= Qt::ShiftModifier;
    if (shift & ssCtrl) m |= Qt::ControlModifier;
    if (shift & ssAlt) m |= Qt::AltModifier;
    return m;
}
