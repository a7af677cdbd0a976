#include "Keys.h"

#include <gtest/gtest.h>

TEST(Keys, ShortCutEncodingAndText)
{
    const TShortCut redo = ShortCut('Z', ssCtrl | ssShift);
    EXPECT_EQ(redo, 0x605A);
    EXPECT_EQ(ShortCutToText(redo), "Ctrl+Shift+Z");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, {})), "F5");
    EXPECT_EQ(ShortCutToText(ShortCut('N', ssCtrl)), "Ctrl+N");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, ssAlt)), "Alt+Del");
    EXPECT_EQ(ShortCutToText(scNone), "");
    // Mouse buttons and ssDouble do not enter a shortcut.
    EXPECT_EQ(ShortCut('A', ssLeft | ssDouble), TShortCut('A'));

    int key = 0;
    TShiftState shift;
    ShortCutToKey(redo, key, shift);
    EXPECT_EQ(key, 'Z');
    EXPECT_EQ(shift, ssCtrl | ssShift);
}

TEST(Keys, TextToShortCutAcceptsAnyCaseAndOrder)
{
    EXPECT_EQ(TextToShortCut("Ctrl+Shift+Z"), 0x605A);
    EXPECT_EQ(TextToShortCut("shift+ctrl+z"), 0x605A);
    EXPECT_EQ(TextToShortCut("CTRL+N"), ShortCut('N', ssCtrl));
    EXPECT_EQ(TextToShortCut("f12"), ShortCut(VK_F12, {}));
    EXPECT_EQ(TextToShortCut("Alt+Num 5"), ShortCut(VK_NUMPAD5, ssAlt));
    EXPECT_EQ(TextToShortCut("Ctrl+-"), ShortCut(VK_OEM_MINUS, ssCtrl));
    EXPECT_EQ(TextToShortCut(""), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Hyper+Q"), scNone);
    EXPECT_EQ(TextToShortCut("F25"), scNone);

    // Every named key with every modifier combination survives the round trip.
    for (int vk = 1; vk <= 0xFF; ++vk) {
        for (TShortCut mods : {TShortCut(0), scShift, scCtrl, scAlt, TShortCut(scCtrl | scShift | scAlt)}) {
            const TShortCut sc = TShortCut(vk | mods);
            const QString text = ShortCutToText(sc);
            if (!text.isEmpty()) {
                EXPECT_EQ(TextToShortCut(text), sc) << text.toStdString();
            }
        }
    }
}

TEST(Keys, QtKeyMapping)
{
    EXPECT_EQ(QtKeyToVK(Qt::Key_A), 'A');
    EXPECT_EQ(QtKeyToVK(Qt::Key_7), '7');
    EXPECT_EQ(QtKeyToVK(Qt::Key_7, Qt::KeypadModifier), VK_NUMPAD7);
    EXPECT_EQ(QtKeyToVK(Qt::Key_F1), VK_F1);
    EXPECT_EQ(QtKeyToVK(Qt::Key_Return), VK_RETURN);
    EXPECT_EQ(QtKeyToVK(Qt::Key_Enter), VK_RETURN);
    EXPECT_EQ(QtKeyToVK(Qt::Key_PageDown), VK_NEXT);
    EXPECT_EQ(QtKeyToVK(Qt::Key_unknown), 0);
    for (int vk : {int('A'), int('0'), int(VK_F3), int(VK_ESCAPE), int(VK_BACK), int(VK_LEFT), int(VK_DELETE),
                   int(VK_SPACE), int(VK_TAB)})
        EXPECT_EQ(QtKeyToVK(VKToQtKey(vk)), vk) << vk;
    EXPECT_EQ(ShiftStateFromQt(Qt::ControlModifier | Qt::ShiftModifier), ssCtrl | ssShift);
    EXPECT_EQ(QtModifiersFromShiftState(ssAlt), Qt::AltModifier);
}
