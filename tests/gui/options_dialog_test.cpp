#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

#include <memory>

#include "gui_test_support.h"
#include "options_dialog.h"
#include "support/scripted_ports.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::gbk;

class OptionsDialogTest : public QObject {
    Q_OBJECT

    Settings m_settings;
    testing::ScriptedDialogs m_dialogs;
    std::unique_ptr<OptionsDialog> m_dialog;
    std::vector<QColor> m_colourAnswers;  // what the colour chooser answers, in turn
    std::vector<QColor> m_colourOffered;  // the colours it was opened with
    std::optional<QFont> m_fontAnswer;

    void open() {
        m_dialog = std::make_unique<OptionsDialog>(m_settings, m_dialogs);
        m_dialog->setColourChooser([this](const QColor& current, QWidget*) -> std::optional<QColor> {
            m_colourOffered.push_back(current);
            if (m_colourAnswers.empty()) return std::nullopt;
            QColor answer = m_colourAnswers.front();
            m_colourAnswers.erase(m_colourAnswers.begin());
            return answer;
        });
        m_dialog->setFontChooser([this](const QFont&, QWidget*) { return m_fontAnswer; });
    }

    template <typename T>
    T* child(const char* name) const {
        return guitest::child<T>(m_dialog.get(), name);
    }

    void press(const char* button) const { child<QPushButton>(button)->click(); }

    // Picks `colour` for `element` through the "其他颜色..." button.
    void chooseColour(ColourElement element, const QColor& colour) {
        m_dialog->selectColourElement(element);
        m_colourAnswers.push_back(colour);
        press("otherColour");
    }

    // Changes every non-colour control away from the defaults of Settings.
    void changeEveryControl() {
        child<QSlider>("matchRate")->setValue(91);
        child<QCheckBox>("giveMT")->setChecked(false);
        child<QCheckBox>("rightClickShowsAll")->setChecked(true);
        child<QCheckBox>("spaceInHan")->setChecked(true);
        child<QCheckBox>("copyNewWords")->setChecked(true);
        child<QSpinBox>("minShowChars")->setValue(4);
        child<QSpinBox>("maxExamples")->setValue(7);
        child<QCheckBox>("lineBreakStops")->setChecked(false);
        child<QCheckBox>("tabStops")->setChecked(true);
        child<QCheckBox>("tagStops")->setChecked(true);
        QFont source(QStringLiteral("Courier New"));
        source.setPointSize(14);
        m_fontAnswer = source;
        press("changeSourceFont");
        QFont target(QStringLiteral("黑体"));
        target.setPointSize(12);
        m_fontAnswer = target;
        press("changeTargetFont");
    }

private slots:
    void init() {
        m_settings = {};
        m_dialogs = {};
        m_colourAnswers.clear();
        m_colourOffered.clear();
        m_fontAnswer.reset();
    }

    void cleanup() { m_dialog.reset(); }

    void windowsColoursKeepRedInTheLowByte() {
        QCOMPARE(fromWindowsColour(255), QColor(Qt::red));
        QCOMPARE(fromWindowsColour(0xFF0000), QColor(Qt::blue));
        QCOMPARE(toWindowsColour(QColor(1, 2, 3)), 0x030201);
        QCOMPARE(toWindowsColour(fromWindowsColour(8388736)), 8388736);
    }

    void controlsShowTheSettingsWhenCreated() {
        m_settings.matchrate = 72;
        m_settings.autoshowexp = false;
        m_settings.giveMT = false;
        m_settings.TABkeyStop = true;
        m_settings.maxshowcharnum = 3;
        m_settings.interEwordFontName = "Courier New";
        m_settings.interEwordFontSize = 15;
        open();
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("TavriCAT选项"));
        QCOMPARE(m_dialog->pages()->count(), 4);
        QCOMPARE(m_dialog->pages()->tabText(1), QStringLiteral("颜  色"));
        QCOMPARE(child<QLabel>("matchRateLabel")->text(), QStringLiteral("匹配率：72%"));
        QVERIFY(child<QCheckBox>("rightClickShowsAll")->isChecked());  // the inverse of autoshowexp
        QVERIFY(!child<QCheckBox>("giveMT")->isChecked());
        QVERIFY(child<QCheckBox>("tabStops")->isChecked());
        QVERIFY(child<QCheckBox>("lineBreakStops")->isChecked());
        QCOMPARE(child<QSpinBox>("minShowChars")->value(), 3);
        QCOMPARE(m_dialog->fontSample(FontSample::Source)->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(m_dialog->fontSample(FontSample::Source)->font().pointSize(), 15);
        QCOMPARE(m_dialog->fontSample(FontSample::Target)->font().family(), QStringLiteral("宋体"));
        QCOMPARE(m_dialog->fontSample(FontSample::Target)->text(), QStringLiteral("Tavri计算机辅助翻译"));

        child<QSlider>("matchRate")->setValue(88);
        QCOMPARE(child<QLabel>("matchRateLabel")->text(), QStringLiteral("匹配率：88%"));
    }

    void okWritesEveryValue() {
        open();
        changeEveryControl();
        press("okButton");
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_settings.matchrate, 91);
        QVERIFY(!m_settings.giveMT);
        QVERIFY(!m_settings.autoshowexp);
        QVERIFY(m_settings.SpaceInHanChar);
        QVERIFY(m_settings.copyNewWords);
        QCOMPARE(m_settings.maxshowcharnum, 4);
        QCOMPARE(m_settings.limitPhraseTipNum, 7);
        QVERIFY(!m_settings.CLStop);
        QVERIFY(m_settings.TABkeyStop);
        QVERIFY(m_settings.tagStop);
        QCOMPARE(m_settings.interEwordFontName, std::string("Courier New"));
        QCOMPARE(m_settings.interEwordFontSize, 14);
        QCOMPARE(m_settings.interCwordFontName, std::string(reinterpret_cast<const char*>(u8"黑体")));
        QCOMPARE(m_settings.interCwordFontSize, 12);
        QVERIFY(m_dialogs.messages.empty());
    }

    void okWithoutChangesKeepsTheSettings() {
        m_settings.interCwordFontSize = 11;
        m_settings.matchrate = 77;
        const Settings before = m_settings;
        open();
        press("okButton");
        QCOMPARE(m_settings.matchrate, before.matchrate);
        QCOMPARE(m_settings.autoshowexp, before.autoshowexp);
        QCOMPARE(m_settings.CLStop, before.CLStop);
        QCOMPARE(m_settings.interEwordFontName, before.interEwordFontName);
        QCOMPARE(m_settings.interCwordFontName, before.interCwordFontName);
        QCOMPARE(m_settings.interCwordFontSize, 11);
    }

    void cancelDropsEverythingButTheColours() {
        const Settings before = m_settings;
        open();
        changeEveryControl();
        chooseColour(ColourElement::CurrentWord, QColor(0, 128, 0));
        press("cancelButton");
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QCOMPARE(m_settings.CurEwordBC, 0x008000);  // stored when picked
        QCOMPARE(m_settings.matchrate, before.matchrate);
        QCOMPARE(m_settings.giveMT, before.giveMT);
        QCOMPARE(m_settings.autoshowexp, before.autoshowexp);
        QCOMPARE(m_settings.maxshowcharnum, before.maxshowcharnum);
        QCOMPARE(m_settings.limitPhraseTipNum, before.limitPhraseTipNum);
        QCOMPARE(m_settings.CLStop, before.CLStop);
        QCOMPARE(m_settings.TABkeyStop, before.TABkeyStop);
        QCOMPARE(m_settings.tagStop, before.tagStop);
        QCOMPARE(m_settings.interEwordFontName, before.interEwordFontName);
        QCOMPARE(m_settings.interEwordFontSize, before.interEwordFontSize);
        QCOMPARE(m_settings.interCwordFontName, before.interCwordFontName);
    }

    void eachColourElementStoresItsOwnSetting() {
        open();
        QCOMPARE(m_dialog->colourList()->count(), kColourElementCount);
        QCOMPARE(m_dialog->colourList()->item(4)->text(), QStringLiteral("当前单词首选释义背景色"));
        const std::array<std::pair<ColourElement, std::int32_t Settings::*>, kColourElementCount> elements = {{
            {ColourElement::CurrentWord, &Settings::CurEwordBC},
            {ColourElement::PhraseTip, &Settings::PhraseTipBC},
            {ColourElement::SelectedWords, &Settings::SelWordsFC},
            {ColourElement::ShortcutKeys, &Settings::ShortCutFC},
            {ColourElement::CurrentMeaning, &Settings::CurExplainBC},
            {ColourElement::IsolationTags, &Settings::IsoTagsFC},
        }};
        int shade = 10;
        for (const auto& [element, member] : elements) {
            const Settings before = m_settings;
            const QColor colour(shade, 20, 30);
            chooseColour(element, colour);
            QCOMPARE(m_colourOffered.back(), fromWindowsColour(before.*member));  // opened on the current colour
            QCOMPARE(m_settings.*member, toWindowsColour(colour));
            QVERIFY(m_dialog->colourSwatch()->styleSheet().contains(colour.name()));
            for (const auto& [other, otherMember] : elements)
                if (other != element) QCOMPARE(m_settings.*otherMember, before.*otherMember);
            shade += 10;
        }
        // Selecting an element shows its colour without changing it.
        m_dialog->selectColourElement(ColourElement::CurrentWord);
        QVERIFY(m_dialog->colourSwatch()->styleSheet().contains(QColor(10, 20, 30).name()));
    }

    void cancelledColourChooserChangesNothing() {
        const Settings before = m_settings;
        open();
        m_dialog->selectColourElement(ColourElement::PhraseTip);
        press("otherColour");
        QCOMPARE(m_colourOffered.size(), std::size_t(1));
        QCOMPARE(m_settings.PhraseTipBC, before.PhraseTipBC);
    }

    void selectedWordsRefuseTheShortcutKeysColour() {
        open();
        const std::int32_t before = m_settings.SelWordsFC;
        chooseColour(ColourElement::SelectedWords, Qt::red);
        QCOMPARE(m_settings.SelWordsFC, before);
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        QCOMPARE(m_dialogs.messages.front(), gbk("选定单词前景色不能用红色，也不能与快捷键颜色相同。"));
        QVERIFY(m_dialog->colourSwatch()->styleSheet().contains(fromWindowsColour(before).name()));

        // The grid's red goes the same way.
        press("gridColour9");
        QCOMPARE(m_settings.SelWordsFC, before);
        QCOMPARE(m_dialogs.messages.size(), std::size_t(2));

        // Other elements take red.
        chooseColour(ColourElement::CurrentWord, Qt::red);
        QCOMPARE(m_settings.CurEwordBC, 255);

        // A changed shortcut colour is refused too, and red stays refused: the saved shortcut
        // colour is red again at the next start.
        chooseColour(ColourElement::ShortcutKeys, QColor(0, 160, 0));
        QCOMPARE(m_settings.ShortCutFC, 0x00A000);
        chooseColour(ColourElement::SelectedWords, QColor(0, 160, 0));
        QCOMPARE(m_settings.SelWordsFC, before);
        chooseColour(ColourElement::SelectedWords, Qt::red);
        QCOMPARE(m_settings.SelWordsFC, before);
        chooseColour(ColourElement::SelectedWords, QColor(0, 0, 128));
        QCOMPARE(m_settings.SelWordsFC, 0x800000);
        QCOMPARE(m_dialogs.messages.size(), std::size_t(4));

        // The shortcut keys cannot take the selected words' colour either.
        chooseColour(ColourElement::ShortcutKeys, QColor(0, 0, 128));
        QCOMPARE(m_settings.ShortCutFC, 0x00A000);
        QCOMPARE(m_dialogs.messages.back(), gbk("快捷键颜色不能与选定单词前景色相同。"));
    }

    void valuesOutsideTheirRangesAreClamped_data() {
        QTest::addColumn<int>("matchRate");
        QTest::addColumn<int>("chars");
        QTest::addColumn<int>("examples");
        QTest::addColumn<int>("expectedRate");
        QTest::addColumn<int>("expectedChars");
        QTest::addColumn<int>("expectedExamples");
        QTest::newRow("below") << 30 << 0 << -4 << 50 << 1 << 1;
        QTest::newRow("above") << 140 << 12 << 99 << 100 << 9 << 9;
        QTest::newRow("edges") << 50 << 9 << 1 << 50 << 9 << 1;
    }

    void valuesOutsideTheirRangesAreClamped() {
        QFETCH(int, matchRate);
        QFETCH(int, chars);
        QFETCH(int, examples);
        QFETCH(int, expectedRate);
        QFETCH(int, expectedChars);
        QFETCH(int, expectedExamples);
        m_settings.matchrate = matchRate;
        m_settings.maxshowcharnum = chars;
        m_settings.limitPhraseTipNum = examples;
        open();
        QCOMPARE(child<QLabel>("matchRateLabel")->text(), QStringLiteral("匹配率：%1%").arg(expectedRate));
        press("okButton");
        QCOMPARE(m_settings.matchrate, expectedRate);
        QCOMPARE(m_settings.maxshowcharnum, expectedChars);
        QCOMPARE(m_settings.limitPhraseTipNum, expectedExamples);
    }

    void fontChoicesThatGiveNoPointSize() {
        open();
        press("changeSourceFont");  // cancelled: nothing changes
        QCOMPARE(m_dialog->fontSample(FontSample::Source)->font().family(), QStringLiteral("Arial"));
        QFont pixels(QStringLiteral("Tahoma"));
        pixels.setPixelSize(16);
        pixels.setBold(true);
        m_fontAnswer = pixels;
        press("changeSourceFont");
        QVERIFY(m_dialog->fontSample(FontSample::Source)->font().bold());  // the sample shows the style
        press("okButton");
        QCOMPARE(m_settings.interEwordFontName, std::string("Tahoma"));
        QCOMPARE(m_settings.interEwordFontSize, 9);  // a pixel size keeps the stored point size
    }

    void helpOpensItsTopic() {
        open();
        QVERIFY(!child<QPushButton>("helpButton")->isEnabled());
        QString opened;
        m_dialog->setHelpOpener([&opened](const QString& topic) { opened = topic; });
        press("helpButton");
        QCOMPARE(opened, QStringLiteral("newpage49.htm"));
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    }
};

int runOptionsDialogTests(int argc, char** argv) {
    OptionsDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "options_dialog_test.moc"
