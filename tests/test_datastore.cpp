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

namespace {

// A small database in the order every saver writes it, so that it survives a round trip.
const QByteArray Glass2 = GlassRecord("Caf\xE9 Cup", {}, 0);
const QByteArray Glasses =
    DatabaseFile({GlassRecord("Highball", "A tall glass", 3, "glass.ani"), Glass2});
const QByteArray Ingredients = DatabaseFile(
    {IngredientRecord("Spirits", ""), IngredientRecord("Mixers", ""),
     IngredientRecord("Gin", "Spirits", {true, false, 0x336699, 200, 7, "Juniper spirit"}),
     IngredientRecord("Tonic", "Mixers")});
const QByteArray Recipes = DatabaseFile(
    {RecipeRecord("Gin and Tonic", "Highball", "Build over ice.\r\nStir.",
                  {Line("Gin", 24, 0), Line("Tonic", 80, 1), Line("Lime", 0, 9)}, 2, 5),
     RecipeRecord("Neat Gin", "", "", {})});
const QByteArray Help =
    DatabaseFile({HelpRecord("Glasses", "About glasses."), HelpRecord("Recipes", "")});
const QStringList AllFiles = {"Glasses.Dat", "Help.Dat", "Ingredients.Dat", "Recipes.Dat"};

void WriteSmallDatabase(const ProgramFolder& folder)
{
    folder.WriteDataFile("Glasses.Dat", Glasses);
    folder.WriteDataFile("Ingredients.Dat", Ingredients);
    folder.WriteDataFile("Recipes.Dat", Recipes);
    folder.WriteDataFile("Help.Dat", Help);
}

// A recipe file of several megabytes, its lines already in the order a load gives them.
QByteArray ManyRecipes()
{
    QList<QByteArray> recipes;
    for (int i = 0; i < 12000; ++i) {
        const QByteArray number = QByteArray::number(i);
        recipes << RecipeRecord(
            "Recipe " + number, "Glass " + QByteArray::number(i % 7), "Stir " + number + " times.",
            {Line("Tonic " + number, 8, 0), Line("Gin", i % 256, i % 9), Line("Lime", 0, 9)},
            i % 20, i % 3);
    }
    return DatabaseFile(recipes);
}

} // namespace

class TestDataStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::MessageBox::SetScripted(true); }
    void init() { folder = std::make_unique<ProgramFolder>(); }
    void cleanup()
    {
        CloseMainWindow();
        folder.reset();
    }

    // The files made empty at the first start are written at exit, with no backup of them.
    void firstRunCreatesDataFolderAndEmptyFiles()
    {
        const auto entries = [this] {
            return QDir(folder->DataPath())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        };
        StartMainWindow();
        QCOMPARE(DataPath, folder->DataPath());
        QCOMPARE(entries(), QStringList({"Editor.lock"}) + AllFiles); // while the editor has them
        for (const QString& name : AllFiles)
            QCOMPARE(QFileInfo(folder->DataPath() + name).size(), 0);
        QCOMPARE(colGlasses.Count() + colIngredients.Count() + colRecipes.Count() +
                     colHelpTopics.Count(),
                 0);

        CloseMainWindow();
        QCOMPARE(entries(), AllFiles);
        for (const char* name : {"Glasses.Dat", "Ingredients.Dat", "Recipes.Dat"})
            QCOMPARE(folder->ReadDataFile(name), Int32(0));
        QCOMPARE(folder->ReadDataFile("Help.Dat"), QByteArray());
        QVERIFY(platform::MessageBox::Shown().isEmpty());
    }

    void databaseLoadsAndUnchangedExitWritesItBackByteIdentical()
    {
        WriteSmallDatabase(*folder);
        StartMainWindow();

        QCOMPARE(Keys(colGlasses), QStringList({"Highball", QString::fromLatin1("Caf\xE9 Cup")}));
        QCOMPARE(Keys(colIngredients), QStringList({"Spirits", "Mixers", "Gin", "Tonic"}));
        QCOMPARE(Keys(colRecipes), QStringList({"Gin and Tonic", "Neat Gin"}));
        QCOMPARE(colRecipes.Item("Gin and Tonic")->RecipeIngredients().Count(), 3);
        QCOMPARE(Keys(colHelpTopics), QStringList({"Glasses", "Recipes"}));
        QCOMPARE(colHelpTopics.Item("Glasses")->Data, QString("About glasses."));

        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"), Glasses);
        QCOMPARE(folder->ReadDataFile("Ingredients.Dat"), Ingredients);
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), Recipes);
        QCOMPARE(folder->ReadDataFile("Help.Dat"), Help);
        QVERIFY(platform::MessageBox::Shown().isEmpty()); // neither at start-up nor at exit
    }

    void readOnlyFileIsReplacedWithNormalPermissions()
    {
        WriteSmallDatabase(*folder);
        const QString path = folder->DataPath() + "Glasses.Dat";
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
        StartMainWindow();
        colGlasses.Remove("Highball");

        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"), DatabaseFile({Glass2}));
        QVERIFY(QFile::permissions(path).testFlags(QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(platform::MessageBox::Shown().isEmpty());
    }

    // A large file is read in one piece and written out while the rest is still being put
    // together; neither may change a byte.
    void aDatabaseOfSeveralMegabytesIsWrittenBackByteIdentical()
    {
        const QByteArray recipes = ManyRecipes();
        QVERIFY(recipes.size() > 3'000'000);
        folder->WriteDataFile("Recipes.Dat", recipes);
        StartMainWindow();
        QCOMPARE(colRecipes.Count(), 12000);
        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), recipes);
    }

    // A write the system refuses, here because the file would grow beyond what the process may
    // write, fails the save like any other write error: part-way through a large file, and in
    // the last bytes, which are written only after the last record.
    void aWriteRefusedByTheSystemKeepsThePreviousFile_data()
    {
        QTest::addColumn<qint64>("limit");
        QTest::newRow("part-way") << qint64(2'000'000);
        QTest::newRow("in the last bytes") << qint64(ManyRecipes().size() - 10);
    }
    void aWriteRefusedByTheSystemKeepsThePreviousFile()
    {
        QFETCH(qint64, limit);
        const QByteArray recipes = ManyRecipes();
        folder->WriteDataFile("Recipes.Dat", recipes);
        StartMainWindow();
        colRecipes.Item("Recipe 11999")->Level = 1;
        StoreMessages messages;
        {
            const FileSizeLimit sizeLimit(limit);
            messages = SaveRecipes();
        }
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), recipes);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().title, QString("SAVE ERROR"));
        QCOMPARE(messages.first().text,
                 QString("Error saving recipes.\n\nCannot write the new Recipes.Dat: File too "
                         "large.\n\nThe file %1Recipes.Dat is unchanged.")
                     .arg(folder->DataPath()));
        QCOMPARE(QDir(folder->DataPath()).entryList(QDir::Files | QDir::Hidden),
                 QStringList(
                     {"Editor.lock", "Glasses.Dat", "Help.Dat", "Ingredients.Dat", "Recipes.Dat"}));
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
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(bytes, file.readAll());
    }

private:
    std::unique_ptr<ProgramFolder> folder;
};

QTEST_MAIN(TestDataStore)
#include "test_datastore.moc"
