// Every caption of every window fits its control in the font the windows
// are drawn with, so none is cut off (the measures were made for a narrower
// font than most Linux desktops use).
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QtTest>
#include <cstdint>
#include <limits>

#include "gui/app.h"
#include "gui/splash_screen.h"
#include "tests/gui/support/gui_fixture.h"

using namespace restash;
using restash::test::GuiFixture;

namespace {

// The widest line of a caption, without its accelerator marks.
int TextWidth(const QWidget* w, QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

// The room a control leaves for its caption.
int Room(QWidget* w) {
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        const QStyle* style = box->style();
        return box->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
    }
    if (qobject_cast<QPushButton*>(w)) return w->width() - 4;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        return combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
    }
    return static_cast<QFrame*>(w)->contentsRect().width();
}

// The captions of window's controls that are wider than their room.
QStringList CutCaptions(QWidget* window) {
    QStringList cut;
    auto check = [&cut](QWidget* w, const QString& text) {
        if (text.isEmpty()) return;
        const int width = TextWidth(w, text);
        const int room = Room(w);
        if (width > room) cut << QStringLiteral("%1 \"%2\": %3 > %4").arg(w->objectName(), text).arg(width).arg(room);
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->wordWrap()) check(label, label->text());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w)) check(button, button->text());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i) check(combo, combo->itemText(i));
        }
    }
    return cut;
}

}  // namespace

class CaptionsFitTest : public QObject {
    Q_OBJECT
private slots:
    // Each window at the sizes it shows with, in the desktop's font at a
    // small, the usual and a large size; the selection window also with the
    // longest choices of its age boxes, and every counter with the largest
    // count it can show.
    void everyCaptionFits_data() {
        QTest::addColumn<double>("points");
        QTest::newRow("the desktop's size") << 0.0;
        QTest::newRow("small") << 7.0;
        QTest::newRow("large") << 15.0;
    }
    void everyCaptionFits() {
        QFETCH(double, points);
        const QFont desktop = QApplication::font();
        QFont font = desktop;
        if (points > 0) font.setPointSizeF(points);
        QApplication::setFont(font);
        GuiFixture fixture;
        Windows windows(fixture.shell);
        SplashScreen splash(10);
        QApplication::setFont(desktop);
        const QString largest = QString::number(std::numeric_limits<std::uint64_t>::max());
        for (const char* counter : {"NumHTMPanel", "ProgressPanel", "FoundPanel", "NumTextPanel", "NumMediaPanel",
                                    "NumOtherPanel"}) {
            auto* panel = windows.mainWindow.findChild<QLabel*>(QString::fromLatin1(counter));
            QVERIFY2(panel, counter);
            panel->setText(largest);
        }
        // The main window is the parent of every other window but the splash.
        for (QWidget* window : {static_cast<QWidget*>(&windows.mainWindow), static_cast<QWidget*>(&splash)}) {
            const QStringList cut = CutCaptions(window);
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u"; ")));
        }
        auto* age = windows.selectionDialog.findChild<QComboBox*>(QStringLiteral("AgeBox"));
        QVERIFY(age);
        for (const char* more : {"12", "18", "24"}) age->addItem(QString::fromLatin1(more));
        const QStringList cut = CutCaptions(&windows.selectionDialog);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u"; ")));
    }
};

QTEST_MAIN(CaptionsFitTest)
#include "captions_fit_test.moc"
