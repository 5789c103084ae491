// What keeps the user's data safe: backups of replaced files, damaged and unreadable files
// reported, saves that fail at any byte, files cut off at any byte, and hostile counts.
#include "TestSupport.h"

#include "app/modCellarix.h"
#include "platform/MessageBox.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

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
    std::function<void()> save;
};

QList<Case> Cases()
{
    return {
        {"Glasses.Dat", DatabaseFile({GlassRecord("Flute", "Tall", 3), GlassRecord("Coupe")}),
         [] { colGlasses.Item("Coupe")->HotSpotID = 9; },
         DatabaseFile({GlassRecord("Flute", "Tall", 3), GlassRecord("Coupe", {}, 9)}),
         "Error saving glasses.", SaveGlasses},
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
    QStringList keys;
    const auto collect = [&keys](const auto& collection) {
        for (int i = 1; i <= collection.Count(); ++i)
            keys << collection.KeyAt(i);
    };
    switch (database) {
    case Database::Glasses:
        collect(colGlasses);
        break;
    case Database::Ingredients:
        collect(colIngredients);
        break;
    case Database::HelpTopics:
        collect(colHelpTopics);
        break;
    case Database::Recipes:
        collect(colRecipes);
        break;
    }
    return keys;
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

    void firstSaveKeepsTheFileAsItWasAndLaterSavesLeaveTheBackup()
    {
        for (const Case& c : Cases()) {
            ProgramFolder folder;
            folder.WriteDataFile(c.file, c.before);
            folder.WriteDataFile(c.file + ".bak", "an older backup");
            StartMainWindow();
            c.change();
            c.save();
            QCOMPARE(folder.ReadDataFile(c.file + ".bak"), c.before);
            QCOMPARE(folder.ReadDataFile(c.file), c.after);
            c.save();
            CloseMainWindow();
            QCOMPARE(folder.ReadDataFile(c.file + ".bak"), c.before);
            QCOMPARE(folder.ReadDataFile(c.file), c.after);
        }
    }

    void aFileThatDidNotExistGetsNoBackup()
    {
        ProgramFolder folder;
        StartMainWindow();
        CloseMainWindow();
        QCOMPARE(QDir(folder.DataPath()).entryList({"*.bak"}, QDir::Files), QStringList());
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

    void aCleanLoadReportsNothing()
    {
        ProgramFolder folder;
        for (const Case& c : Cases())
            folder.WriteDataFile(c.file, c.before);
        StartMainWindow();
        QCOMPARE(platform::MessageBox::Shown().size(), 0);
    }

    void aDataFolderThatCannotBeCreatedIsReportedOnceAndNothingIsWritten()
    {
        ProgramFolder folder;
        QFile blocker(folder.Path() + "/Data");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
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

    void aFileThatCannotBeOpenedIsReportedAndKept()
    {
        ProgramFolder folder;
        QVERIFY(QDir().mkpath(folder.DataPath() + "Glasses.Dat"));
        StartMainWindow();
        QCOMPARE(platform::MessageBox::Shown().size(), 1);
        const QString text = platform::MessageBox::Shown().first().text;
        QVERIFY2(text.startsWith("Glasses.Dat could not be opened: "), qPrintable(text));
        QVERIFY(text.endsWith(". It will not be written when the editor closes."));
        CloseMainWindow();
        QVERIFY(QFileInfo(folder.DataPath() + "Glasses.Dat").isDir());
    }

    // A save that fails after any number of bytes leaves the previous file byte for byte; the
    // message appears exactly when a write failed.
    void aSaveFailingAtAnyByteKeepsThePreviousFile()
    {
        for (const Case& c : Cases()) {
            ProgramFolder folder;
            folder.WriteDataFile(c.file, c.before);
            StartMainWindow();
            c.change();
            for (qint64 limit = 0; limit <= c.after.size(); ++limit) {
                folder.WriteDataFile(c.file, c.before);
                platform::MessageBox::ClearShown();
                {
                    SaveFailure failure(limit);
                    c.save();
                }
                const bool failed = limit < c.after.size();
                QCOMPARE(folder.ReadDataFile(c.file), failed ? c.before : c.after);
                QCOMPARE(platform::MessageBox::Shown().isEmpty(), !failed);
                for (const platform::ShownMessage& shown : platform::MessageBox::Shown()) {
                    QCOMPARE(shown.text, c.saveError);
                    QCOMPARE(shown.title, QString("SAVE ERROR"));
                }
            }
        }
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
        QList<int> ends;
        int end = 4;
        for (const QByteArray& record : records)
            ends << (end += record.size());
        for (int length = 0; length <= file.size(); ++length) {
            Read(Database(database), file.left(length));
            QStringList complete;
            for (int i = 0; i < ends.size(); ++i)
                if (ends[i] <= length)
                    complete << names[i];
            QCOMPARE(Keys(Database(database)), complete);
        }
    }

    // Counts and lengths are checked against what the file holds before anything is made of
    // them: these load at once, without a large allocation.
    void hugeCountsAndLengthsLoadAtOnce()
    {
        const qint32 huge = std::numeric_limits<qint32>::max();
        Read(Database::Glasses, Int32(huge) + "0123456789");
        QCOMPARE(Keys(Database::Glasses), QStringList());
        QCOMPARE(LastLoad(Database::Glasses).RecordsNotTaken(), huge);
        Read(Database::Glasses, Int32(2) + Field("Flute") + Bytes(350, ' ') + Byte(0) +
                                    Int32(huge) + "short" + GlassRecord("Coupe"));
        QCOMPARE(Keys(Database::Glasses), QStringList());
        Read(Database::Recipes,
             Int32(1) + RecipeRecord("Gimlet", "", "", {}).left(106) + Int32(huge));
        QCOMPARE(Keys(Database::Recipes), QStringList());
        Read(Database::HelpTopics, Int32(1) + Field("Saving") + Int32(huge) + "text");
        QCOMPARE(Keys(Database::HelpTopics), QStringList());
    }
};

QTEST_MAIN(TestReliability)
#include "test_reliability.moc"
