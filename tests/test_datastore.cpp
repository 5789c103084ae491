// The data store: the data folder, loading the four database files into the collections,
// writing the three editable ones back at exit, and files that cannot be read or written.
#include "TestSupport.h"

#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "store/modCellarix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace TestSupport;
using namespace modCellarix;

const QStringList AllFiles = {"Glasses.Dat", "Help.Dat", "Ingredients.Dat", "Recipes.Dat"};

class TestDataStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ScriptDialogs(); }
    void init() { folder = std::make_unique<MainWindowFolder>(); }
    void cleanup() { folder.reset(); } // the main window closes first

    // The files made empty at the first start are written at exit, with no backup of them.
    void firstRunCreatesDataFolderAndEmptyFiles()
    {
        StartMainWindow();
        QCOMPARE(Entries(), QStringList({"Editor.lock"}) + AllFiles); // while the editor has them
        for (const QString& name : AllFiles)
            QCOMPARE(QFileInfo(folder->DataPath() + name).size(), 0);
        QCOMPARE(colHelpTopics.Count(), 0); // the other three are written back empty below

        CloseMainWindow();
        QCOMPARE(Entries(), AllFiles);
        for (const QString& name : AllFiles)
            QCOMPARE(folder->ReadDataFile(name), name == "Help.Dat" ? QByteArray() : Int32(0));
        QVERIFY(platform::MessageBox::Shown().isEmpty());
    }

    // A read-only file is replaced, with normal permissions. Only the first replacement in a
    // session keeps the file as "<name>.bak": a later save leaves the start-up file there, also
    // when it names the file by another path (here the recipe file, through a link to the data
    // folder).
    void aReadOnlyFileIsReplacedAndTheBackupKeepsItAsAtStartUp()
    {
        const QByteArray before = DatabaseFile({GlassRecord("Highball"), GlassRecord("Coupe")});
        folder->WriteDataFile("Glasses.Dat", before);
        const QByteArray recipes = DatabaseFile({RecipeRecord("Gimlet", "Coupe", "", {})});
        folder->WriteDataFile("Recipes.Dat", recipes);
        QVERIFY(QFile::link(folder->DataPath(), folder->Path() + "/Linked"));
        const QString path = folder->DataPath() + "Glasses.Dat";
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
        StartMainWindow();
        colGlasses.Remove("Highball");
        QVERIFY(SaveGlasses().isEmpty());
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"), DatabaseFile({GlassRecord("Coupe")}));
        QVERIFY(QFile::permissions(path).testFlags(QFile::ReadOwner | QFile::WriteOwner));

        colRecipes.Item("Gimlet")->Level = 3;
        QVERIFY(SaveRecipes().isEmpty());

        colGlasses.Remove("Coupe");
        colRecipes.Remove("Gimlet");
        RecipeDatabasePath = folder->Path() + "/Linked/Recipes.Dat";
        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"), Int32(0));
        QCOMPARE(folder->ReadDataFile("Glasses.Dat.bak"), before);
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), Int32(0));
        QCOMPARE(folder->ReadDataFile("Recipes.Dat.bak"), recipes);
        QVERIFY(platform::MessageBox::Shown().isEmpty());
    }

    // A write the system refuses, here because the file would grow beyond what the process may
    // write, fails the save like any other write error: part-way through a file of several
    // megabytes, and in its last bytes. The next save writes it back byte for byte.
    void aWriteRefusedByTheSystemKeepsThePreviousFile()
    {
        QList<QByteArray> records; // their lines already in the order a load gives them
        for (int i = 0; i < 12000; ++i) {
            const QByteArray number = QByteArray::number(i);
            records << RecipeRecord(
                "Recipe " + number, "Glass " + number.right(1), "Stir " + number + " times.",
                {Line("Tonic " + number, 8, 0), Line("Gin", i % 256, i % 9), Line("Lime", 0, 9)},
                i % 20, i % 3);
        }
        const QByteArray recipes = DatabaseFile(records);
        folder->WriteDataFile("Recipes.Dat", recipes);
        StartMainWindow();
        QCOMPARE(colRecipes.Count(), 12000);
        colRecipes.Item("Recipe 11999")->Level = 1;
        for (const qint64 limit : {qint64(2'000'000), recipes.size() - 10}) {
            const FileSizeLimit sizeLimit(limit);
            const StoreMessages messages = SaveRecipes();
            QCOMPARE(folder->ReadDataFile("Recipes.Dat"), recipes);
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages.first().title, QString("SAVE ERROR"));
            QCOMPARE(messages.first().text,
                     QString("Error saving recipes.\n\nCannot write the new Recipes.Dat: File too "
                             "large.\n\nThe file %1Recipes.Dat is unchanged.")
                         .arg(folder->DataPath()));
            QCOMPARE(Entries(), QStringList({"Editor.lock"}) + AllFiles); // no temporary file left
        }

        colRecipes.Item("Recipe 11999")->Level = 11999 % 20;
        QVERIFY(SaveRecipes().isEmpty());
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), recipes);
    }

    // Files that tell no size, such as those of /proc, are still read to their end.
    void aFileThatReportsNoSizeIsReadToItsEnd()
    {
        QFile file("/proc/self/cmdline");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.size(), 0);
        QByteArray bytes;
        QString error;
        QVERIFY(platform::ReadRegularFile(file.fileName(), false, bytes, error));
        QCOMPARE(bytes, file.readAll());
    }

private:
    std::unique_ptr<MainWindowFolder> folder;

    // What the data folder holds, files and folders, hidden ones too.
    QStringList Entries() const
    {
        return QDir(folder->DataPath())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
};

QTEST_MAIN(TestDataStore)
#include "test_datastore.moc"
