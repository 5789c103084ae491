#include "TestSupport.h"

#include "app/frmMain.h"
#include "platform/Dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <csignal>

#include <sys/resource.h>

namespace TestSupport {

QByteArray Int32(qint32 value)
{
    return Byte(value) + Byte(value >> 8) + Byte(value >> 16) + Byte(value >> 24);
}

QByteArray Field(const QByteArray& text)
{
    return text.leftJustified(50);
}

QByteArray Byte(int value)
{
    return QByteArray(1, char(value));
}

QByteArray GlassRecord(const QByteArray& name, const QByteArray& text, int hotSpot,
                       const QByteArray& assets)
{
    return Field(name) + Field(assets).repeated(7) + Byte(hotSpot) + Int32(text.size()) + text;
}

QByteArray IngredientRecord(const QByteArray& name, const QByteArray& parent,
                            const IngredientAttributes& a)
{
    return Field(name) + Byte(a.ounces) + Byte(a.action) + Int32(a.color) + Byte(a.opacity) +
           Field(parent) + QByteArray(300, '\0') + Byte(a.hotSpot) + Int32(a.text.size()) + a.text;
}

QByteArray Line(const QByteArray& name, int amount, int priority)
{
    return Field(name) + Byte(amount) + Byte(priority);
}

QByteArray RecipeRecord(const QByteArray& name, const QByteArray& glass,
                        const QByteArray& instructions, const QList<QByteArray>& lines, int level,
                        int category)
{
    return Field(name) + Byte(category) + Field(glass) + Byte(level) + Int32(instructions.size()) +
           Int32(lines.size()) + instructions + lines.join();
}

QByteArray HelpRecord(const QByteArray& name, const QByteArray& data)
{
    return Field(name) + Int32(data.size()) + data;
}

QByteArray DatabaseFile(const QList<QByteArray>& records)
{
    return Int32(records.size()) + records.join();
}

QByteArray Bytes(int count, char byte)
{
    return QByteArray(count, byte);
}

void ProgramFolder::WriteDataFile(const QString& name, const QByteArray& bytes) const
{
    QDir().mkpath(DataPath());
    QFile file(DataPath() + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture %s", qPrintable(file.fileName()));
}

void WriteDatabaseWithProblems(const ProgramFolder& folder, bool more)
{
    folder.WriteDataFile("Glasses.Dat",
                         DatabaseFile({GlassRecord("Highball"), GlassRecord("HIGHBALL")}));
    QList<QByteArray> ingredients{IngredientRecord("Spirits", ""),
                                  IngredientRecord("Gin", "Spirits"),
                                  IngredientRecord("Lime Wedge", "Garnishes"),
                                  IngredientRecord("Garnishes", ""),
                                  IngredientRecord("Tonic", "Mixers"),
                                  IngredientRecord("Smoke", "", {true, false, 0, 150})};
    QByteArray broken = RecipeRecord("Broken", "Highball", "", {});
    broken.replace(102, 4, Int32(-1)); // a negative instruction length
    QList<QByteArray> recipes{
        RecipeRecord("Gin Tonic", "Highball", "", {Line("Gin", 32, 0), Line("Tonic", 65, 1)}),
        RecipeRecord("Lost", "Tumbler", "", {}), RecipeRecord("Hard", "Highball", "", {}, 25),
        RecipeRecord("Typo", "Highball", "", {Line("Gin", 16, 12), Line("Ginn", 16, 0)}), broken};
    QList<QByteArray> topics{HelpRecord("Welcome", "Hi")};
    if (more) {
        ingredients << IngredientRecord("Loop", "Loop");
        recipes << RecipeRecord("After", "Goblet", "", {Line("Gin", 8, 9)});
        topics << HelpRecord("Keys", "F2");
    }
    folder.WriteDataFile("Ingredients.Dat", DatabaseFile(ingredients));
    folder.WriteDataFile("Recipes.Dat", DatabaseFile(recipes));
    folder.WriteDataFile("Help.Dat", more ? Int32(3) + topics.join() : DatabaseFile(topics));
}

QByteArray ProgramFolder::ReadDataFile(const QString& name) const
{
    QFile file(DataPath() + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previous = qint64(limit.rlim_cur);
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(previous);
    setrlimit(RLIMIT_FSIZE, &limit);
}

void ScriptDialogs()
{
    platform::MessageBox::SetScripted(true);
    platform::ColorDialog::SetScripted(true);
    platform::OpenFileDialog::SetScripted(true);
    platform::FolderDialog::SetScripted(true);
    platform::ModalWindow::SetDriver([](QDialog& dialog) { dialog.reject(); });
    platform::MessageBox::ClearShown();
}

void StartMainWindow()
{
    frmMain::Destroy();
    ScriptDialogs();
    frmMain::Instance()->MDIForm_Load();
}

void CloseMainWindow()
{
    if (frmMain* window = frmMain::Instance(); window->isVisible())
        window->close();
    frmMain::Destroy();
}

bool ActivateMainWindow()
{
    QApplication::setActiveWindow(frmMain::Instance());
    return QTest::qWaitForWindowActive(frmMain::Instance());
}

static void ClickAt(QAbstractItemView* view, const QModelIndex& index)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void ClickRow(platform::TreeView* tree, platform::TreeNode* node)
{
    tree->EnsureVisible(node);
    ClickAt(tree, tree->IndexOf(node));
}

void ClickRow(platform::ListView* list, int row)
{
    list->EnsureVisible(list->Item(row));
    ClickAt(list, list->IndexOf(list->Item(row)));
}

void ClickRow(platform::ListView* list, platform::ListItem* item)
{
    ClickRow(list, list->Position(item));
}

void ClickHeader(platform::ListView* list, int column)
{
    const QHeaderView* header = list->header();
    QTest::mouseClick(
        header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(column - 1) + 5, header->height() / 2));
}

void TurnWheel(QWidget* control)
{
    QWheelEvent wheel(QPointF(5, 5), control->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(control, &wheel);
}

bool TryToDeselect(QAbstractItemView* view)
{
    const QPoint belowTheItems(5, view->viewport()->height() - 3);
    if (view->indexAt(belowTheItems).isValid())
        return false;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, belowTheItems);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      view->visualRect(view->currentIndex()).center());
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier);
    return true;
}

void Choose(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void Press(QWidget* control, Qt::Key key, std::optional<platform::MsgAnswer> answer)
{
    platform::MessageBox::SetScripted(true); // forgets answers no message took
    platform::MessageBox::ClearShown();
    if (answer)
        platform::MessageBox::SetNextAnswer(*answer);
    control->setFocus();
    QTest::keyClick(control, key);
}

void Retype(QWidget* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

bool EditLabel(QAbstractItemView* view, const QString& text, Qt::Key finish)
{
    Press(view, Qt::Key_F2);
    // An earlier edit's box may not be deleted yet, but it is hidden.
    for (QLineEdit* box : view->viewport()->findChildren<QLineEdit*>("labelEditor"))
        if (box->isVisible()) {
            QTest::keyClicks(box, text);
            QTest::keyClick(box, finish);
            return true;
        }
    return false;
}

static bool ShownOnly(const QString& text, const QString& title, platform::MsgIcon icon,
                      platform::MsgButtons buttons)
{
    const auto& shown = platform::MessageBox::Shown();
    return shown.size() == 1 && shown[0].text == text && shown[0].title == title &&
           shown[0].icon == icon && shown[0].buttons == buttons;
}

bool Asked(const QString& text, const QString& title)
{
    return ShownOnly(text, title, platform::MsgIcon::Question, platform::MsgButtons::YesNo);
}

bool Refused(const QString& text, const QString& title)
{
    return ShownOnly(text, title, platform::MsgIcon::Information, platform::MsgButtons::OK);
}

QStringList RowTexts(const platform::ListView* list, int column)
{
    QStringList texts;
    for (int row = 1; row <= list->Count(); ++row)
        texts << list->Item(row)->SubItem(column);
    return texts;
}

QStringList LineNames(const Recipe& recipe)
{
    QStringList names;
    for (const auto& line : recipe.RecipeIngredients())
        names << line->Name;
    return names;
}

QStringList ChildTexts(const platform::TreeNode* node)
{
    QStringList texts;
    for (int i = 0; i < node->Children(); ++i)
        texts << node->Child(i)->Text();
    return texts;
}

} // namespace TestSupport
