// What keeps the user's data safe: saves that fail at any step or are killed at any moment,
// backups that exist before a file is replaced, links and special files, one editor per data
// folder, damaged files and a missing data folder reported, files cut off at any byte, and
// hostile counts.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "editors/frmGlasses.h"
#include "editors/frmIngredients.h"
#include "editors/frmRecipes.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/FileReplacement.h"
#include "platform/FolderLock.h"
#include "platform/ProgramFolder.h"
#include "store/modCellarix.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <cerrno>
#include <iostream>
#include <string>

#include <sys/stat.h>

using namespace TestSupport;
using namespace modCellarix;

namespace {

// One editable database: its file, a small file on disk, the change a test makes in memory and
// the file that change gives.
struct Case {
    QString file;
    QByteArray before;
    std::function<void()> change;
    QByteArray after;
};

QList<Case> Cases()
{
    return {
        {"Glasses.Dat", DatabaseFile({GlassRecord("Flute", "Tall", 3), GlassRecord("Coupe")}),
         [] { colGlasses.Item("Coupe")->HotSpotID = 9; },
         DatabaseFile({GlassRecord("Flute", "Tall", 3), GlassRecord("Coupe", {}, 9)})},
        // A top-level and a child ingredient, so that both writing passes can fail.
        {"Ingredients.Dat",
         DatabaseFile({IngredientRecord("Spirits", ""), IngredientRecord("Gin", "Spirits")}),
         [] { colIngredients.Item("Gin")->SetOpacity(40); },
         DatabaseFile({IngredientRecord("Spirits", ""),
                       IngredientRecord("Gin", "Spirits", {true, false, 0, 40})})},
        {"Recipes.Dat",
         DatabaseFile({RecipeRecord("Gimlet", "Coupe", "Shake.", {Line("Gin", 32, 0)})}),
         [] { colRecipes.Item("Gimlet")->Level = 4; },
         DatabaseFile({RecipeRecord("Gimlet", "Coupe", "Shake.", {Line("Gin", 32, 0)}, 4)})},
    };
}

// Starts a fresh main window on the current program folder: start-up asks `question` under
// `title` alone, is answered `answer`, and loads only on Yes.
bool StartAnswering(platform::MsgAnswer answer, const QString& question, const QString& title)
{
    frmMain::Destroy();
    ScriptDialogs();
    platform::MessageBox::SetNextAnswer(answer);
    const bool loaded = frmMain::Instance()->MDIForm_Load();
    return loaded == (answer == platform::MsgAnswer::Yes) && Asked(question, title);
}

// Starts this test program as a child in `mode` (see RunChild) on the program folder `folder`,
// and waits until it has loaded.
void StartChild(QProcess& child, const QString& mode, const QString& folder)
{
    child.start(QCoreApplication::applicationFilePath(), {"--child", mode, folder});
    QVERIFY(child.waitForStarted(30000) && child.waitForReadyRead(30000));
    QCOMPARE(child.readLine(), QByteArray("ready\n"));
}

// The glasses or the recipes, as `database` is, read from `bytes`: their keys in order.
QStringList KeysRead(Database database, QByteArray bytes)
{
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    ReadDatabase(database, file);
    return database == Database::Glasses ? Keys(colGlasses) : Keys(colRecipes);
}

// What stands in the way of replacing the glasses at exit.
enum Obstacle { ImmutableFile, LinkIntoClosedFolder, ImmutableBackup, FolderAsBackup };

} // namespace

class TestReliability : public QObject {
    Q_OBJECT

private slots:
    void init() { ScriptDialogs(); }
    void cleanup() { CloseMainWindow(); }

    // A step of the exit save that fails (any write, sync, rename, copy for the backup or sync
    // of the folder, counted over the whole save of all three files) leaves every file the old
    // one or the complete new one, keeps the backup of every file replaced, and names the file
    // and the system's reason. Then the work can still be saved elsewhere. So too where the file
    // system has no unnamed files and the new files are made as "<name>.saving".
    void aFaultAtAnyStepOfTheExitSaveLeavesEveryFileOldOrNew_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("named");
        // In the order of platform::FileStep.
        const char* steps[] = {"write", "sync", "rename", "backup copy", "folder sync"};
        for (const bool named : {false, true})
            for (int step = 0; step < 5; ++step)
                QTest::addRow("%s%s", steps[step], named ? ", named files" : "") << step << named;
    }
    void aFaultAtAnyStepOfTheExitSaveLeavesEveryFileOldOrNew()
    {
        QFETCH(int, step);
        QFETCH(bool, named);
        // The save first runs without a fault, counting its steps; then once failing each.
        for (int n = 0, steps = 0; n <= steps; ++n) {
            ProgramFolder folder;
            // The names of the backups and of the new files are taken by links to a file outside
            // the data folder: they are replaced as links, never written through.
            folder.WriteDataFile("../outside", "an older backup");
            for (const Case& c : Cases()) {
                folder.WriteDataFile(c.file, c.before);
                for (const QString& name : {c.file + ".bak", c.file + ".saving"})
                    QVERIFY(QFile::link(folder.Path() + "/outside", folder.DataPath() + name));
            }
            StartMainWindow();
            for (const Case& c : Cases())
                c.change();
            platform::FileFaults::FailAt(platform::FileStep(step), n, ENOSPC);
            if (named)
                platform::FileFaults::RefuseUnnamedFiles();
            CloseMainWindow();
            if (n == 0)
                steps = platform::FileFaults::Count(platform::FileStep(step));
            platform::FileFaults::Reset();
            QVERIFY(steps >= 3); // at least one for each file
            const auto& shown = platform::MessageBox::Shown();
            const QString error = shown.value(0).text;
            // The failure, then the offer to save elsewhere.
            QVERIFY2(n == 0 ? shown.isEmpty()
                            : shown.size() == 2 && shown[0].title == "SAVE ERROR" &&
                                  error.contains(qt_error_string(ENOSPC)) &&
                                  shown[1].title == "SAVE ELSEWHERE",
                     qPrintable(error));
            int old = 0;
            for (const Case& c : Cases()) {
                const QByteArray now = folder.ReadDataFile(c.file);
                const QByteArray backup = folder.ReadDataFile(c.file + ".bak");
                QVERIFY(backup == c.before || (now != c.after && backup == "an older backup"));
                if (now == c.after)
                    continue;
                ++old;
                QVERIFY2(n > 0 && now == c.before, qPrintable(c.file));
                const QString name = c.file.section('.', 0, 0).toLower();
                QVERIFY2(
                    error.startsWith("Error saving " + name + ".\n\n") &&
                        error.endsWith("The file " + folder.DataPath() + c.file + " is unchanged."),
                    qPrintable(error));
            }
            // Only the sync of the folder after a replacement leaves no file old.
            QCOMPARE(old, error.contains("is unchanged") ? 1 : 0);
            // Nothing half-written is left (a link the save did not need to replace may be).
            const auto all = QDir::Files | QDir::Hidden | QDir::NoSymLinks;
            for (const QString& entry : QDir(folder.DataPath()).entryList(all))
                QVERIFY2(entry.endsWith(".Dat") || entry.endsWith(".Dat.bak"), qPrintable(entry));
            QCOMPARE(folder.ReadDataFile("../outside"), QByteArray("an older backup"));
        }
    }

    // On a disk too full for the backup, the file is not replaced, even when its new contents
    // would fit; the next save tries the backup again.
    void aBackupThatCannotBeWrittenKeepsTheFileAsItWas()
    {
        ProgramFolder folder;
        const QByteArray large = DatabaseFile({RecipeRecord("Gimlet", "", Bytes(80000, 'x'), {})});
        folder.WriteDataFile("Recipes.Dat", large);
        StartMainWindow();
        colRecipes.Item("Gimlet")->Instructions = "Shake.";
        StoreMessages messages;
        {
            const FileSizeLimit limit(large.size() / 2);
            messages = SaveRecipes();
        }
        QCOMPARE(folder.ReadDataFile("Recipes.Dat"), large);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().text,
                 "Error saving recipes.\n\nCannot keep Recipes.Dat as it was as Recipes.Dat.bak "
                 "(cannot write the new Recipes.Dat.bak: File too large).\n\nThe file " +
                     folder.DataPath() + "Recipes.Dat is unchanged.");
        QVERIFY(SaveRecipes().isEmpty());
        QCOMPARE(folder.ReadDataFile("Recipes.Dat.bak"), large);
        QCOMPARE(folder.ReadDataFile("Recipes.Dat"),
                 DatabaseFile({RecipeRecord("Gimlet", "", "Shake.", {})}));
    }

    // What start-up cannot read is reported in one message: a file in place of the data folder,
    // and a folder, a pipe or a device in place of a database, neither of which is written at
    // exit (nor read: it would wait, or never end); records that cannot be read.
    void problemsFoundAtStartUpAreReportedOnceAndNotWritten()
    {
        ProgramFolder folder;
        const QString path = folder.DataPath();
        QVERIFY(QFile(path.chopped(1)).open(QIODevice::WriteOnly));
        StartMainWindow();
        QVERIFY2(Refused("The data folder '" + path +
                             "' could not be created: a file of that name is in the way.",
                         "LOAD ERROR"),
                 qPrintable(platform::MessageBox::Shown().value(0).text));
        CloseMainWindow();
        QCOMPARE(platform::MessageBox::Shown().size(), 1); // no save was even tried
        QVERIFY(QFileInfo(path.chopped(1)).isFile() && QFile::remove(path.chopped(1)));

        folder.WriteDataFile("Help.Dat", DatabaseFile({}));
        QVERIFY(QDir().mkdir(path + "Recipes.Dat"));
        QCOMPARE(::mkfifo(QFile::encodeName(path + "Glasses.Dat").constData(), 0644), 0);
        QVERIFY(QFile::link("/dev/zero", path + "Ingredients.Dat"));
        StartMainWindow();
        QVERIFY2(
            Refused("Glasses.Dat could not be opened: it is not a regular file. It will not be "
                    "written when the editor closes.\n"
                    "Ingredients.Dat could not be opened: it is not a regular file. It will not "
                    "be written when the editor closes.\n"
                    "Recipes.Dat could not be opened: it is a folder. It will not be written "
                    "when the editor closes.",
                    "LOAD ERROR"),
            qPrintable(platform::MessageBox::Shown().value(0).text));
        CloseMainWindow();
        QCOMPARE(platform::MessageBox::Shown().size(), 1);
        QVERIFY(QFile::exists(path + "Glasses.Dat") && !QFileInfo(path + "Glasses.Dat").isFile());
        QCOMPARE(QFileInfo(path + "Ingredients.Dat").symLinkTarget(), QString("/dev/zero"));
        QVERIFY(QFileInfo(path + "Recipes.Dat").isDir() && QDir(path).removeRecursively());

        // Three glasses announced, two present; a recipe name repeated in other letter case;
        // help topics followed by stray bytes.
        folder.WriteDataFile("Glasses.Dat", Int32(3) + GlassRecord("Flute") + GlassRecord("Coupe"));
        folder.WriteDataFile("Recipes.Dat", DatabaseFile({RecipeRecord("Gimlet", "", "", {}),
                                                          RecipeRecord("GIMLET", "", "", {})}));
        folder.WriteDataFile("Help.Dat", DatabaseFile({HelpRecord("Saving", "Text")}) + "xyz");
        StartMainWindow();
        QVERIFY2(Refused("Glasses.Dat: 1 record could not be read.\n"
                         "Help.Dat: 3 bytes after the last record could not be read.\n"
                         "Recipes.Dat: 1 record could not be read.\n\n"
                         "When the editor next saves a damaged file, it keeps the file as it was "
                         "beside it as \"<name>.bak\".",
                         "LOAD ERROR"),
                 qPrintable(platform::MessageBox::Shown().value(0).text));
        QCOMPARE(Keys(colGlasses), QStringList({"Flute", "Coupe"}));
        QCOMPARE(Keys(colRecipes), QStringList({"Gimlet"}));
    }

    // A file the system will not let be replaced is reported right after loading; the user may
    // end at once, or go on and at exit save the work into another folder. A file that is a link
    // is replaced in the folder of the file it links to: that folder taking no new files counts.
    void aFileThatCannotBeReplacedIsReportedAtStartUpAndTheWorkSavedElsewhere_data()
    {
        QTest::addColumn<int>("obstacle");
        QTest::newRow("immutable file") << int(ImmutableFile);
        QTest::newRow("link into a folder that takes no new files") << int(LinkIntoClosedFolder);
        QTest::newRow("immutable backup") << int(ImmutableBackup);
        QTest::newRow("folder in the way of the backup") << int(FolderAsBackup);
    }
    void aFileThatCannotBeReplacedIsReportedAtStartUpAndTheWorkSavedElsewhere()
    {
        QFETCH(int, obstacle);
        ProgramFolder folder;
        for (const Case& c : Cases())
            folder.WriteDataFile(c.file, c.before);
        const QString glasses = folder.DataPath() + "Glasses.Dat";
        QString locked = glasses, reason = "Glasses.Dat is marked immutable or append-only",
                failure = "Cannot put the new Glasses.Dat in place: Operation not permitted.";
        if (obstacle == LinkIntoClosedFolder) {
            locked = folder.Path() + "/outside";
            QVERIFY(QDir().mkdir(locked) && QFile::rename(glasses, locked + "/Glasses.Dat") &&
                    QFile::link(locked + "/Glasses.Dat", glasses));
            locked = QFileInfo(locked).canonicalFilePath();
            reason = "the folder " + locked + " takes no new files (Operation not permitted)";
            failure = "Cannot create a new file in " + locked + ": Operation not permitted.";
        } else if (obstacle == ImmutableBackup) {
            locked = glasses + ".bak";
            folder.WriteDataFile("Glasses.Dat.bak", "an older backup");
            reason = "Glasses.Dat.bak is marked immutable or append-only";
            failure = "Cannot keep Glasses.Dat as it was as Glasses.Dat.bak (cannot put the new "
                      "Glasses.Dat.bak in place: Operation not permitted).";
        } else if (obstacle == FolderAsBackup) {
            QVERIFY(QDir().mkdir(glasses + ".bak"));
            reason = "Glasses.Dat.bak is not a regular file";
            failure = "Cannot keep Glasses.Dat as it was as Glasses.Dat.bak (" + reason + ").";
        }
        if (obstacle != FolderAsBackup && QProcess::execute("chattr", {"+i", locked}) != 0)
            QSKIP("files cannot be made immutable here");
        const auto unlock = qScopeGuard([&] { QProcess::execute("chattr", {"-i", locked}); });
        const QString question =
            "Changes cannot be saved: " + reason + ".\n\nGo on all the same? (No ends the editor.)";

        QVERIFY(StartAnswering(platform::MsgAnswer::No, question, "OPEN DATABASES"));
        QVERIFY(!frmMain::Instance()->isVisible());
        QVERIFY(!QFile::exists(folder.DataPath() + "Recipes.Dat.bak")); // nothing was saved

        QVERIFY(StartAnswering(platform::MsgAnswer::Yes, question, "OPEN DATABASES"));
        for (const Case& c : Cases())
            c.change();
        platform::MessageBox::ClearShown();
        platform::MessageBox::SetNextAnswer(platform::MsgAnswer::OK); // the save error
        platform::MessageBox::SetNextAnswer(platform::MsgAnswer::Yes);
        platform::FolderDialog::SetNextAnswer(folder.Path()); // above the data folder
        CloseMainWindow();
        const auto& shown = platform::MessageBox::Shown();
        QCOMPARE(shown.size(), 3);
        QVERIFY2(shown[0].text.startsWith("Error saving glasses.\n\n" + failure),
                 qPrintable(shown[0].text));
        QCOMPARE(shown[2].text, QString("The databases are saved in %1.").arg(folder.Path()));
        QCOMPARE(folder.ReadDataFile("Glasses.Dat"), Cases()[0].before);
        for (const Case& c : Cases())
            QCOMPARE(folder.ReadDataFile("../" + c.file), c.after);
    }

    // Two editors on one data folder, in two processes: the second is told which process has
    // the databases and ends, or opens them read-only: then every editing window refuses every
    // kind of change (adding, removing and renaming in lists and trees, choosing, also with the
    // wheel, ticking, typing, picking a colour) and nothing is saved. Once the first has ended,
    // its changes are saved and the folder is free; the lock an editor that crashed left behind
    // is taken over without a question, and held even against an editor that cannot write it.
    // A lock file that is a link is replaced by the editor's own; what it links to is not touched.
    void aSecondEditorOnTheSameFolderOpensItReadOnlyOrEnds()
    {
        ProgramFolder folder;
        for (const Case& c : Cases())
            folder.WriteDataFile(c.file, c.before);
        folder.WriteDataFile("../Notes.txt", "Keep me.\n");
        QVERIFY(QFile::link(folder.Path() + "/Notes.txt", folder.DataPath() + "Editor.lock"));
        QProcess first;
        StartChild(first, "editor", folder.Path());
        const QString question = QString("The databases in %1 are open in another Mixora Database "
                                         "Editor (process %2). Open them read-only?")
                                     .arg(folder.DataPath(), QString::number(first.processId()));

        QVERIFY(StartAnswering(platform::MsgAnswer::No, question, "OPEN READ-ONLY") &&
                colRecipes.Count() == 0);

        QVERIFY(StartAnswering(platform::MsgAnswer::Yes, question, "OPEN READ-ONLY"));
        frmMain* main = frmMain::Instance();
        QCOMPARE(main->windowTitle(), QString("Mixora Database Editor (read-only)"));
        main->mnuShowAllEditors->setChecked(true);
        for (QPushButton* button : {main->cmdRecipes, main->cmdGlasses, main->cmdIngredients})
            button->click();
        ClickRow(main->RecipeEditor->lvRecipeIng, 1);
        ClickRow(main->IngredientEditor->TV, main->IngredientEditor->TV->Node("Gin"));
        const Qt::Key click = Qt::Key_unknown, wheel = Qt::Key_Launch0;
        const QList<std::pair<QWidget*, QList<Qt::Key>>> edits = {
            {main->RecipeEditor->lvRecipes, {Qt::Key_Insert, Qt::Key_F2}},
            {main->RecipeEditor->lvRecipeIng, {Qt::Key_Delete}},
            {main->RecipeEditor->txtInstructions, {Qt::Key_X, Qt::Key_Backspace}},
            {main->RecipeEditor->cboGlass, {Qt::Key_Down}},
            {main->RecipeEditor->cboLevel, {click, wheel}},
            {main->RecipeEditor->cboAmount, {Qt::Key_5}},
            {main->GlassEditor->LV, {Qt::Key_Delete}},
            {main->GlassEditor->cboHotspotID, {Qt::Key_Up}},
            {main->GlassEditor->txtDisplayText, {Qt::Key_X}},
            {main->IngredientEditor->TV, {Qt::Key_F2}},
            {main->IngredientEditor->chkOunces, {click, Qt::Key_Space}},
            {main->IngredientEditor->cmdColor, {click, Qt::Key_Return}},
            {main->IngredientEditor->cboOpacity, {Qt::Key_Down}}};
        QVERIFY(ActivateMainWindow()); // the wheel turns only the chooser that has the focus
        for (const auto& [control, keys] : edits)
            for (Qt::Key key : keys) {
                platform::MessageBox::ClearShown();
                control->setFocus();
                if (key == click)
                    QTest::mouseClick(control, Qt::LeftButton);
                else if (key == wheel)
                    TurnWheel(control);
                else
                    Press(control, key, platform::MsgAnswer::Yes);
                QVERIFY2(Refused("The databases are open read-only.", "INVALID ACTION"),
                         qPrintable(QString::asprintf("%s, key %x",
                                                      control->metaObject()->className(), key)));
            }
        // Nor does text pasted by the context menu or a middle click reach a text box.
        QApplication::clipboard()->setText("Pasted");
        main->RecipeEditor->txtInstructions->paste();
        QCOMPARE(main->RecipeEditor->txtInstructions->Text(), QString("Shake."));
        QVERIFY(colRecipes.Item("Gimlet")->Level == 0 && colIngredients.Item("Gin")->Ounces() &&
                colRecipes.Item("Gimlet")->Instructions == "Shake.");
        colRecipes.Item("Gimlet")->Level = 9; // even a change made past the windows is not saved
        CloseMainWindow();
        for (const Case& c : Cases())
            QCOMPARE(folder.ReadDataFile(c.file), c.before);

        first.write("close\n"); // the first editor makes its changes and closes
        QVERIFY(first.waitForFinished(30000) && first.exitCode() == 0);
        for (const Case& c : Cases())
            QCOMPARE(folder.ReadDataFile(c.file), c.after);
        QVERIFY(!QFile::exists(folder.DataPath() + "Editor.lock") &&
                folder.ReadDataFile("../Notes.txt") == "Keep me.\n");
        folder.WriteDataFile("Editor.lock", "999999\nsomewhere\n"); // as a crashed editor left it
        StartMainWindow();
        QVERIFY(platform::MessageBox::Shown().isEmpty() && !ReadOnly);
        // A second editor now waits (this process's number now in the lock file), even one that may
        // not write the lock file (another user's, or one marked immutable).
        const QString lockFile = folder.DataPath() + "Editor.lock";
        if (QProcess::execute("chattr", {"+i", lockFile}) != 0)
            QSKIP("files cannot be made immutable here");
        const auto unlock = qScopeGuard([&] { QProcess::execute("chattr", {"-i", lockFile}); });
        const platform::FolderLock other(folder.DataPath().chopped(1));
        QVERIFY(other.HeldElsewhere() && other.OwnerPid() == QCoreApplication::applicationPid());
    }

    // A process saving a database of some megabytes, killed at random moments (fixed seeds),
    // leaves the file old or new, never torn. Only when the kill falls between the last two
    // steps of a replacement can the complete new file be left under its temporary name.
    void aSaveKilledAtAnyMomentLeavesTheOldOrTheNewFile()
    {
        ProgramFolder folder;
        QList<QByteArray> older, newer;
        for (int i = 0; i < 12000; ++i) {
            const QByteArray name = "Recipe " + QByteArray::number(i);
            const QList<QByteArray> lines = {Line("Gin", 24, 0), Line("Lime", 0, 9)};
            older << RecipeRecord(name, "Highball", "Stir " + name + ".", lines);
            newer << RecipeRecord(name, "Highball", "Stir " + name + ".", lines, i == 0 ? 1 : 0);
        }
        const QByteArray before = DatabaseFile(older), after = DatabaseFile(newer);
        folder.WriteDataFile("Recipes.Dat", before);
        // The backup is written as the file is, so it too may be left named but unplaced.
        const QStringList allowed({"Recipes.Dat", "Recipes.Dat.bak", "Recipes.Dat.saving",
                                   "Recipes.Dat.bak.saving", "Glasses.Dat", "Ingredients.Dat",
                                   "Help.Dat", "Editor.lock"});
        QRandomGenerator random(20261206);
        int leftUnderTemporaryName = 0;
        for (int kill = 0; kill < 30; ++kill) {
            QProcess saver;
            StartChild(saver, "saver", folder.Path());
            QThread::usleep(random.bounded(80000));
            saver.kill();
            QVERIFY(saver.waitForFinished(30000));
            QVERIFY(QFile::exists(folder.DataPath() + "Recipes.Dat"));
            for (const QString& entry :
                 QDir(folder.DataPath()).entryList(QDir::Files | QDir::Hidden))
                QVERIFY2(allowed.contains(entry) &&
                             (!entry.startsWith("Recipes.Dat") ||
                              QList{before, after}.contains(folder.ReadDataFile(entry))),
                         qPrintable(QString("kill %1: %2").arg(kill).arg(entry)));
            // Taken away, so that each kill that leaves the name is counted once.
            leftUnderTemporaryName += QFile::remove(folder.DataPath() + "Recipes.Dat.saving");
        }
        QVERIFY(leftUnderTemporaryName <= 2);
    }

    // Every prefix of a file loads, and yields exactly the records complete in it: through the
    // reading every database shares, and the recipes' own.
    void everyPrefixLoadsOnlyItsCompleteRecords()
    {
        const QList<std::pair<Database, QList<QByteArray>>> files = {
            {Database::Glasses,
             {GlassRecord("Flute", "Tall"), GlassRecord("Coupe"),
              GlassRecord("Mug", "Hot drinks")}},
            {Database::Recipes,
             {RecipeRecord("Gimlet", "Coupe", "Shake.", {Line("Gin", 32, 0), Line("Lime", 12, 1)}),
              RecipeRecord("Neat", "", "", {}),
              RecipeRecord("Mojito", "", "Muddle.", {Line("Rum", 32, 0)})}}};
        for (const auto& [database, records] : files) {
            const QByteArray file = DatabaseFile(records);
            const QStringList names = KeysRead(database, file);
            QCOMPARE(names.size(), records.size());
            for (int length = 0; length <= file.size(); ++length) {
                int complete = 0, end = 4;
                while (complete < records.size() && (end += records[complete].size()) <= length)
                    ++complete;
                QCOMPARE(KeysRead(database, file.left(length)), names.first(complete));
            }
        }
    }

    // Negative and huge counts and lengths, and names taken twice, in the reading every
    // database shares and in the recipes' own. Counts and lengths are checked against what the
    // file holds before anything is made of them, so the huge ones load at once, without a
    // large allocation.
    void hostileCountsLengthsAndNamesLoadOnlyTheReadableRecords_data()
    {
        QTest::addColumn<int>("database");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("keys");
        const auto row = [](const char* name, Database database, const QByteArray& bytes,
                            const QStringList& keys) {
            QTest::newRow(name) << int(database) << bytes << keys;
        };
        const qint32 huge = 0x7fffffff;
        const QByteArray flute = GlassRecord("Flute", "Tall"), coupe = GlassRecord("Coupe");
        const QByteArray mugToLength = GlassRecord("Mug").chopped(4); // up to its text length
        const QByteArray neat = RecipeRecord("Neat", "", "", {});
        // Two records announced: one complete, then the next up to its first count or length.
        const QByteArray neatThenGimlet =
            Int32(2) + neat + RecipeRecord("Gimlet", "", "", {}).left(102);

        row("huge count", Database::Glasses, Int32(huge) + "0123456789", {});
        row("huge count, then records", Database::Glasses, Int32(huge) + flute + coupe,
            {"Flute", "Coupe"});
        row("negative count", Database::Glasses, Int32(-1) + flute, {});
        // The failed record's fixed part is consumed; the next record starts right after it.
        row("negative glass text length", Database::Glasses,
            Int32(3) + flute + mugToLength + Int32(-1) + coupe, {"Flute", "Coupe"});
        row("huge glass text length", Database::Glasses,
            Int32(3) + flute + mugToLength + Int32(huge) + "short" + coupe, {"Flute"});
        row("glass names equal but for letter case", Database::Glasses,
            DatabaseFile({flute, GlassRecord("FLUTE"), coupe}), {"Flute", "Coupe"});
        row("huge instruction length", Database::Recipes,
            neatThenGimlet + Int32(huge) + Int32(0) + "Shake.", {"Neat"});
        row("huge line count", Database::Recipes,
            neatThenGimlet + Int32(0) + Int32(huge) + Line("Gin", 1, 0), {"Neat"});
    }

    void hostileCountsLengthsAndNamesLoadOnlyTheReadableRecords()
    {
        QFETCH(int, database);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, keys);
        QCOMPARE(KeysRead(Database(database), bytes), keys);
        // Every record the count announced and the collection did not take is reported.
        const qint32 count = qFromLittleEndian<qint32>(bytes.constData());
        QCOMPARE(LastLoad(Database(database)).RecordsNotTaken(), qMax(0, count) - keys.size());
    }
};

// A child of the tests running the whole editor on the program folder `folder`: "saver" saves
// the recipes over and over, the first recipe's level going between 1 and 0, until it is killed;
// "editor" waits until told to close on its standard input, then makes the changes of Cases()
// and closes.
int RunChild(const QString& mode, const QString& folder)
{
    platform::SetProgramFolder(folder);
    ScriptDialogs();
    frmMain::Instance()->MDIForm_Load();
    std::cout << "ready" << std::endl;
    for (int level = 1; mode == "saver"; level = 1 - level) {
        colRecipes.Item(1)->Level = quint8(level);
        if (!SaveRecipes().isEmpty())
            return 1;
    }
    std::string line;
    std::getline(std::cin, line);
    for (const Case& c : Cases())
        c.change();
    CloseMainWindow();
    return 0;
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return RunChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestReliability test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_reliability.moc"
