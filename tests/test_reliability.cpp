// What keeps the user's data safe: backups of replaced files, damaged files and a missing data
// folder reported, saves that fail at any byte, files cut off at any byte, and hostile counts.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "editors/frmRecipes.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"
#include "store/modCellarix.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QtEndian>

#include <functional>
#include <limits>

using namespace TestSupport;
using namespace modCellarix;

namespace {

// One editable database: its file, a small file on disk, the change a test makes in memory,
// the file that change gives, and the message of a failed save.
struct Case {
    QString file;
    QByteArray before;
    std::function<void()> change;
    QByteArray after;
    QString saveError;
    StoreMessages (*save)(const Progress&);
};

QList<Case> Cases()
{
    return {
        {"Glasses.Dat", DatabaseFile({GlassRecord("Flute", "Tall", 3), GlassRecord("Coupe")}),
         [] { colGlasses.Item("Coupe")->HotSpotID = 9; },
         DatabaseFile({GlassRecord("Flute", "Tall", 3), GlassRecord("Coupe", {}, 9)}),
         "Error saving glasses.", SaveGlasses},
        // A top-level and a child ingredient, so that both writing passes can fail.
        {"Ingredients.Dat",
         DatabaseFile({IngredientRecord("Spirits", ""), IngredientRecord("Gin", "Spirits")}),
         [] { colIngredients.Item("Gin")->SetOpacity(40); },
         DatabaseFile({IngredientRecord("Spirits", ""),
                       IngredientRecord("Gin", "Spirits", {true, false, 0, 40})}),
         "Error saving ingredients.", SaveIngredients},
        {"Recipes.Dat",
         DatabaseFile({RecipeRecord("Gimlet", "Coupe", "Shake.", {Line("Gin", 32, 0)})}),
         [] { colRecipes.Item("Gimlet")->Level = 4; },
         DatabaseFile({RecipeRecord("Gimlet", "Coupe", "Shake.", {Line("Gin", 32, 0)}, 4)}),
         "Error saving recipes.", SaveRecipes},
    };
}

QStringList Keys(Database database)
{
    const auto keys = [](const auto& collection) {
        QStringList keys;
        for (int i = 1; i <= collection.Count(); ++i)
            keys << collection.KeyAt(i);
        return keys;
    };
    return database == Database::Glasses       ? keys(colGlasses)
           : database == Database::Ingredients ? keys(colIngredients)
           : database == Database::Recipes     ? keys(colRecipes)
                                               : keys(colHelpTopics);
}

void Read(Database database, QByteArray bytes)
{
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    ReadDatabase(database, file);
}

} // namespace

class TestReliability : public QObject {
    Q_OBJECT

private slots:
    void init() { platform::MessageBox::SetScripted(true); }
    void cleanup() { CloseMainWindow(); }

    // A save that fails after any number of bytes leaves the previous file and its backup byte
    // for byte, and nothing else in the folder; the message appears exactly when a write
    // failed. The first save that succeeds keeps the file as it was at start-up as the backup,
    // and later saves leave that backup alone.
    void aSaveFailingAtAnyByteKeepsThePreviousFileAndTheFirstGoodOneBacksItUp()
    {
        for (const Case& c : Cases()) {
            ProgramFolder folder;
            folder.WriteDataFile(c.file, c.before);
            folder.WriteDataFile(c.file + ".bak", "an older backup");
            StartMainWindow();
            const auto entries = [&folder] {
                return QDir(folder.DataPath())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
            };
            const QStringList entriesAtStart = entries();
            c.change();
            for (qint64 limit = 0; limit <= c.after.size(); ++limit) {
                folder.WriteDataFile(c.file, c.before);
                StoreMessages messages;
                {
                    SaveFailure failure(limit);
                    messages = c.save({});
                }
                const bool failed = limit < c.after.size();
                QCOMPARE(folder.ReadDataFile(c.file), failed ? c.before : c.after);
                QCOMPARE(folder.ReadDataFile(c.file + ".bak"),
                         failed ? QByteArray("an older backup") : c.before);
                QCOMPARE(entries(), entriesAtStart); // no half-written file left behind
                QCOMPARE(messages.isEmpty(), !failed);
                for (const StoreMessage& message : messages) {
                    QCOMPARE(message.text, c.saveError);
                    QCOMPARE(message.title, QString("SAVE ERROR"));
                    QCOMPARE(message.kind, StoreMessage::Error);
                }
            }
            c.save({});
            CloseMainWindow();
            QCOMPARE(folder.ReadDataFile(c.file + ".bak"), c.before);
            QCOMPARE(folder.ReadDataFile(c.file), c.after);
        }
    }

    void damagedFilesAreReportedOnceAfterStartUp()
    {
        ProgramFolder folder;
        // Three glasses announced, two present; a recipe name repeated in other letter case;
        // help topics followed by stray bytes.
        folder.WriteDataFile("Glasses.Dat", Int32(3) + GlassRecord("Flute") + GlassRecord("Coupe"));
        folder.WriteDataFile("Recipes.Dat", DatabaseFile({RecipeRecord("Gimlet", "", "", {}),
                                                          RecipeRecord("GIMLET", "", "", {})}));
        folder.WriteDataFile("Help.Dat", DatabaseFile({HelpRecord("Saving", "Text")}) + "xyz");
        StartMainWindow();
        QCOMPARE(platform::MessageBox::Shown().size(), 1);
        const platform::ShownMessage& shown = platform::MessageBox::Shown().first();
        QCOMPARE(shown.title, QString("LOAD ERROR"));
        QCOMPARE(shown.icon, platform::MsgIcon::Information);
        QCOMPARE(shown.buttons, platform::MsgButtons::OK);
        QCOMPARE(shown.text,
                 QString("Glasses.Dat: 1 record could not be read.\n"
                         "Help.Dat: 3 bytes after the last record could not be read.\n"
                         "Recipes.Dat: 1 record could not be read.\n\n"
                         "When the editor next saves a damaged file, it keeps the file as it was "
                         "beside it as \"<name>.bak\"."));
        QCOMPARE(Keys(Database::Glasses), QStringList({"Flute", "Coupe"}));
        QCOMPARE(Keys(Database::Recipes), QStringList({"Gimlet"}));
    }

    void aDamagedFileOpenedFromTheRecipeEditorIsReportedAfterLoading()
    {
        ProgramFolder folder;
        folder.WriteDataFile("Other.Dat", Int32(2) + RecipeRecord("Gimlet", "", "", {}));
        StartMainWindow();
        frmMain::Instance()->cmdRecipes->click();
        platform::OpenFileDialog::SetScripted(true);
        platform::OpenFileDialog::SetNextAnswer(folder.DataPath() + "Other.Dat");
        frmMain::Instance()->RecipeEditor->mnuOpenDatabase->trigger();
        QCOMPARE(platform::MessageBox::Shown().size(), 1);
        QCOMPARE(platform::MessageBox::Shown().first().title, QString("LOAD ERROR"));
        QVERIFY(platform::MessageBox::Shown().first().text.startsWith(
            "Other.Dat: 1 record could not be read.\n\n"));
        QCOMPARE(Keys(Database::Recipes), QStringList({"Gimlet"}));
    }

    void aDataFolderThatCannotBeCreatedIsReportedOnceAndNothingIsWritten()
    {
        ProgramFolder folder;
        QVERIFY(QFile(folder.Path() + "/Data").open(QIODevice::WriteOnly)); // a file in the way
        StartMainWindow();
        QCOMPARE(platform::MessageBox::Shown().size(), 1);
        QCOMPARE(platform::MessageBox::Shown().first().text,
                 QString("The data folder '%1/Data/' could not be created: a file of that name "
                         "is in the way.")
                     .arg(folder.Path()));
        CloseMainWindow();
        QCOMPARE(platform::MessageBox::Shown().size(), 1); // no save was even tried
        QVERIFY(QFileInfo(folder.Path() + "/Data").isFile());
    }

    // Every prefix of a file loads, and yields exactly the records complete in it.
    void everyPrefixLoadsOnlyItsCompleteRecords_data()
    {
        QTest::addColumn<int>("database");
        QTest::addColumn<QList<QByteArray>>("records");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("glasses") << int(Database::Glasses)
                                 << QList<QByteArray>{GlassRecord("Flute", "Tall"),
                                                      GlassRecord("Coupe"),
                                                      GlassRecord("Mug", "Hot drinks")}
                                 << QStringList{"Flute", "Coupe", "Mug"};
        QTest::newRow("ingredients")
            << int(Database::Ingredients)
            << QList<QByteArray>{IngredientRecord("Spirits", ""),
                                 IngredientRecord("Gin", "Spirits", {true, false, 0, 0, 0, "Dry"}),
                                 IngredientRecord("Rum", "Spirits")}
            << QStringList{"Spirits", "Gin", "Rum"};
        QTest::newRow("recipes")
            << int(Database::Recipes)
            << QList<QByteArray>{RecipeRecord("Gimlet", "Coupe", "Shake.",
                                              {Line("Gin", 32, 0), Line("Lime", 12, 1)}),
                                 RecipeRecord("Neat", "", "", {}),
                                 RecipeRecord("Mojito", "", "Muddle.", {Line("Rum", 32, 0)})}
            << QStringList{"Gimlet", "Neat", "Mojito"};
        QTest::newRow("help") << int(Database::HelpTopics)
                              << QList<QByteArray>{HelpRecord("Saving", "At exit."),
                                                   HelpRecord("Amounts", "")}
                              << QStringList{"Saving", "Amounts"};
    }

    void everyPrefixLoadsOnlyItsCompleteRecords()
    {
        QFETCH(int, database);
        QFETCH(QList<QByteArray>, records);
        QFETCH(QStringList, names);
        const QByteArray file = DatabaseFile(records);
        for (int length = 0; length <= file.size(); ++length) {
            Read(Database(database), file.left(length));
            QStringList complete;
            for (int i = 0, end = 4; i < records.size() && (end += records[i].size()) <= length;
                 ++i)
                complete << names[i];
            QCOMPARE(Keys(Database(database)), complete);
        }
    }

    // Negative and huge counts and lengths, and names taken twice. Counts and lengths are
    // checked against what the file holds before anything is made of them, so the huge ones
    // load at once, without a large allocation.
    void hostileCountsLengthsAndNamesLoadOnlyTheReadableRecords_data()
    {
        QTest::addColumn<int>("database");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("keys");
        const auto row = [](const char* name, Database database, const QByteArray& bytes,
                            const QStringList& keys) {
            QTest::newRow(name) << int(database) << bytes << keys;
        };
        const qint32 huge = std::numeric_limits<qint32>::max();
        const QByteArray flute = GlassRecord("Flute", "Tall"), coupe = GlassRecord("Coupe");
        const QByteArray mugToLength = GlassRecord("Mug").chopped(4); // up to its text length
        const QByteArray spirits = IngredientRecord("Spirits", "");
        const QByteArray ginToLength = IngredientRecord("Gin", "Spirits").chopped(4);
        const QByteArray neat = RecipeRecord("Neat", "", "", {});
        // Two records announced: one complete, then the next up to its first count or length.
        const QByteArray neatThenGimlet =
            Int32(2) + neat + RecipeRecord("Gimlet", "", "", {}).left(102);
        const QByteArray amountsThenSaving = Int32(2) + HelpRecord("Amounts", "") + Field("Saving");

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
        row("huge ingredient text length", Database::Ingredients,
            Int32(2) + spirits + ginToLength + Int32(huge) + "Dry", {"Spirits"});
        row("ingredient names equal but for letter case", Database::Ingredients,
            DatabaseFile(
                {spirits, IngredientRecord("SPIRITS", ""), IngredientRecord("Gin", "Spirits")}),
            {"Spirits", "Gin"});
        row("negative instruction length", Database::Recipes, neatThenGimlet + Int32(-5) + Int32(0),
            {"Neat"});
        row("huge instruction length", Database::Recipes,
            neatThenGimlet + Int32(huge) + Int32(0) + "Shake.", {"Neat"});
        row("negative line count", Database::Recipes, neatThenGimlet + Int32(0) + Int32(-2),
            {"Neat"});
        row("huge line count", Database::Recipes,
            neatThenGimlet + Int32(0) + Int32(huge) + Line("Gin", 1, 0), {"Neat"});
        row("negative help text length", Database::HelpTopics,
            amountsThenSaving + Int32(-5) + "text", {"Amounts"});
        row("huge help text length", Database::HelpTopics, amountsThenSaving + Int32(huge) + "text",
            {"Amounts"});
        row("help titles equal but for letter case", Database::HelpTopics,
            DatabaseFile({HelpRecord("Topic", "a"), HelpRecord("TOPIC", "b")}), {"Topic"});
    }

    void hostileCountsLengthsAndNamesLoadOnlyTheReadableRecords()
    {
        QFETCH(int, database);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, keys);
        Read(Database(database), bytes);
        QCOMPARE(Keys(Database(database)), keys);
        // Every record the count announced and the collection did not take is reported.
        const qint32 count = qFromLittleEndian<qint32>(bytes.constData());
        QCOMPARE(LastLoad(Database(database)).RecordsNotTaken(), qMax(0, count) - keys.size());
    }
};

QTEST_MAIN(TestReliability)
#include "test_reliability.moc"
