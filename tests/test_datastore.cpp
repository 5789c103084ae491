// The data store: the data folder, loading the four database files into the collections,
// writing the three editable ones back at exit, and what happens to damaged or unwritable files.
#include "TestSupport.h"

#include "app/modCellarix.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <limits>
#include <memory>

using namespace TestSupport;
using namespace modCellarix;

namespace {

// A small database in the order every saver writes it, so that it survives a round trip.
const QByteArray Glass1 = GlassRecord("Highball", "A tall glass", 3, "glass.ani");
const QByteArray Glass2 = GlassRecord("Caf\xE9 Cup", {}, 0);
const QByteArray Glasses = DatabaseFile({Glass1, Glass2});
const QByteArray Spirits = IngredientRecord("Spirits", "");
const QByteArray Mixers = IngredientRecord("Mixers", "");
const QByteArray Gin =
    IngredientRecord("Gin", "Spirits", {true, false, 0x336699, 200, 7, "Juniper spirit"});
const QByteArray Tonic = IngredientRecord("Tonic", "Mixers");
const QByteArray Ingredients = DatabaseFile({Spirits, Mixers, Gin, Tonic});
const QByteArray Recipe1 =
    RecipeRecord("Gin and Tonic", "Highball", "Build over ice.\r\nStir.",
                 {Line("Gin", 24, 0), Line("Tonic", 80, 1), Line("Lime", 0, 9)}, 2, 5);
const QByteArray Recipe2 = RecipeRecord("Neat Gin", "", "", {});
const QByteArray Recipes = DatabaseFile({Recipe1, Recipe2});
const QByteArray Help =
    DatabaseFile({HelpRecord("Glasses", "About glasses."), HelpRecord("Recipes", "")});

void WriteSmallDatabase(const ProgramFolder& folder)
{
    folder.WriteDataFile("Glasses.Dat", Glasses);
    folder.WriteDataFile("Ingredients.Dat", Ingredients);
    folder.WriteDataFile("Recipes.Dat", Recipes);
    folder.WriteDataFile("Help.Dat", Help);
}

template <typename T> QStringList Keys(const KeyedCollection<T>& collection)
{
    QStringList keys;
    for (int i = 1; i <= collection.Count(); ++i)
        keys << collection.KeyAt(i);
    return keys;
}

const QStringList AllFiles = {"Glasses.Dat", "Help.Dat", "Ingredients.Dat", "Recipes.Dat"};

QStringList DataFolderEntries(const ProgramFolder& folder)
{
    return QDir(folder.DataPath())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
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

    void firstRunCreatesDataFolderAndEmptyFiles()
    {
        StartMainWindow();
        QCOMPARE(DataPath, folder->DataPath());
        QCOMPARE(DataFolderEntries(*folder), AllFiles);
        for (const QString& name : AllFiles)
            QCOMPARE(QFileInfo(folder->DataPath() + name).size(), 0);
        QCOMPARE(colGlasses.Count() + colIngredients.Count() + colRecipes.Count() +
                     colHelpTopics.Count(),
                 0);

        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"), Int32(0));
        QCOMPARE(folder->ReadDataFile("Ingredients.Dat"), Int32(0));
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), Int32(0));
        QCOMPARE(folder->ReadDataFile("Help.Dat"), QByteArray());
        QVERIFY(platform::MessageBox::Shown().isEmpty());
    }

    void databaseLoadsAndUnchangedExitWritesItBackByteIdentical()
    {
        WriteSmallDatabase(*folder);
        StartMainWindow();

        QCOMPARE(Keys(colGlasses), QStringList({"Highball", QString::fromLatin1("Caf\xE9 Cup")}));
        QCOMPARE(colGlasses.Item("highball")->DisplayText, QString("A tall glass"));
        QCOMPARE(colGlasses.Item("Highball")->HotSpotID, quint8(3));
        QCOMPARE(colGlasses.Item("Highball")->Zoom, QString("glass.ani"));
        QCOMPARE(Keys(colIngredients), QStringList({"Spirits", "Mixers", "Gin", "Tonic"}));
        QCOMPARE(colIngredients.Item("Gin")->ParentItem(), QString("Spirits"));
        QCOMPARE(colIngredients.Item("Gin")->DisplayText(), QString("Juniper spirit"));
        QCOMPARE(Keys(colRecipes), QStringList({"Gin and Tonic", "Neat Gin"}));
        const auto recipe = colRecipes.Item("Gin and Tonic");
        QCOMPARE(recipe->Glass, QString("Highball"));
        QCOMPARE(recipe->Instructions, QString("Build over ice.\r\nStir."));
        QCOMPARE(recipe->RecipeIngredients.Count(), 3);
        QCOMPARE(recipe->RecipeIngredients.Item(2)->Name, QString("Tonic"));
        QCOMPARE(Keys(colHelpTopics), QStringList({"Glasses", "Recipes"}));
        QCOMPARE(colHelpTopics.Item("Glasses")->Data, QString("About glasses."));

        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"), Glasses);
        QCOMPARE(folder->ReadDataFile("Ingredients.Dat"), Ingredients);
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), Recipes);
        QCOMPARE(folder->ReadDataFile("Help.Dat"), Help);
        QVERIFY(platform::MessageBox::Shown().isEmpty());
    }

    void topLevelIngredientsAreSavedFirst()
    {
        StartMainWindow();
        auto child = std::make_shared<Ingredient>();
        child->SetName("Gin");
        child->SetParentItem("Spirits");
        auto parent = std::make_shared<Ingredient>();
        parent->SetName("Spirits");
        parent->SetParentItem("");
        QVERIFY(colIngredients.Add("Gin", child));
        QVERIFY(colIngredients.Add("Spirits", parent));

        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Ingredients.Dat"),
                 Int32(2) + Field("Spirits") + Bytes(7, '\0') + Field("") + Bytes(305, '\0') +
                     Field("Gin") + Bytes(7, '\0') + Field("Spirits") + Bytes(305, '\0'));
    }

    void savedCountAndOrderFollowTheCollection()
    {
        StartMainWindow();
        QByteArray expected = Int32(25);
        for (int i = 25; i >= 1; --i) { // reverse order, so that no sorting can pass
            const QByteArray name = "Glass " + QByteArray::number(i);
            auto glass = std::make_shared<Glass>();
            glass->Name = QString::fromLatin1(name);
            QVERIFY(colGlasses.Add(glass->Name, glass));
            expected += GlassRecord(name);
        }
        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"), expected);
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
        const auto permissions = QFile::permissions(path);
        QVERIFY(permissions.testFlag(QFile::ReadOwner));
        QVERIFY(permissions.testFlag(QFile::WriteOwner));
        QVERIFY(platform::MessageBox::Shown().isEmpty());
    }

    void failedSaveKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("message");
        const QString glasses = "Error saving glasses.", ingredients = "Error saving ingredients.",
                      recipes = "Error saving recipes.";
        QTest::newRow("glasses, inside the count") << "Glasses.Dat" << qint64(2) << glasses;
        QTest::newRow("glasses, inside the first record")
            << "Glasses.Dat" << qint64(104) << glasses;
        QTest::newRow("glasses, last byte")
            << "Glasses.Dat" << qint64(Glasses.size() - 1) << glasses;
        QTest::newRow("ingredients, inside the count")
            << "Ingredients.Dat" << qint64(3) << ingredients;
        QTest::newRow("ingredients, inside a top-level record")
            << "Ingredients.Dat" << qint64(4 + Spirits.size() + 20) << ingredients;
        QTest::newRow("ingredients, inside a child record")
            << "Ingredients.Dat" << qint64(4 + 2 * Spirits.size() + 20) << ingredients;
        QTest::newRow("recipes, inside the count") << "Recipes.Dat" << qint64(1) << recipes;
        QTest::newRow("recipes, inside an ingredient line")
            << "Recipes.Dat" << qint64(Recipe1.size() - 30) << recipes;
        QTest::newRow("recipes, inside the second record")
            << "Recipes.Dat" << qint64(4 + Recipe1.size() + 60) << recipes;
    }

    void failedSaveKeepsThePreviousFile()
    {
        QFETCH(QString, file);
        QFETCH(qint64, limit);
        QFETCH(QString, message);
        WriteSmallDatabase(*folder);
        StartMainWindow();
        const QByteArray before = folder->ReadDataFile(file);

        {
            SaveFailure failure(limit);
            if (file == "Glasses.Dat")
                SaveGlasses();
            else if (file == "Ingredients.Dat")
                SaveIngredients();
            else
                SaveRecipes();
        }

        const auto& shown = platform::MessageBox::Shown();
        QVERIFY(!shown.isEmpty());
        for (const platform::ShownMessage& box : shown) {
            QCOMPARE(box.text, message);
            QCOMPARE(box.title, QString("SAVE ERROR"));
            QCOMPARE(box.icon, platform::MsgIcon::Information);
            QCOMPARE(box.buttons, platform::MsgButtons::OK);
        }
        QCOMPARE(folder->ReadDataFile(file), before);
        QCOMPARE(DataFolderEntries(*folder), AllFiles); // no half-written file left behind
    }

    void fileThatCouldNotBeOpenedIsNotWrittenAtExit()
    {
        WriteSmallDatabase(*folder);
        const QString path = folder->DataPath() + "Glasses.Dat";
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path)); // a folder in the way cannot be opened as a file
        StartMainWindow();
        QCOMPARE(colGlasses.Count(), 0);
        QCOMPARE(colIngredients.Count(), 4);

        CloseMainWindow();
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(folder->ReadDataFile("Ingredients.Dat"), Ingredients);
        for (const platform::ShownMessage& box : platform::MessageBox::Shown())
            QVERIFY(box.title != "SAVE ERROR");
    }

    void damagedFileLoadsItsCompleteRecords_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("keys");
        const QByteArray a = GlassRecord("Alpha", "first"), b = GlassRecord("Beta", "0123456789");
        const QByteArray c = GlassRecord("Gamma");
        const QByteArray fixedB = b.left(401); // Beta without its text length and text
        const int maxCount = std::numeric_limits<qint32>::max();

        QTest::newRow("glasses cut off in the fixed part")
            << "Glasses.Dat" << DatabaseFile({a, b, c}).chopped(c.size() + 200)
            << QStringList({"Alpha"});
        QTest::newRow("glasses cut off in the text")
            << "Glasses.Dat" << DatabaseFile({a, b}).chopped(3) << QStringList({"Alpha"});
        QTest::newRow("count larger than the records")
            << "Glasses.Dat" << Int32(5) + a + b << QStringList({"Alpha", "Beta"});
        QTest::newRow("largest count")
            << "Glasses.Dat" << Int32(maxCount) + a + b << QStringList({"Alpha", "Beta"});
        QTest::newRow("negative count") << "Glasses.Dat" << Int32(-1) + a << QStringList();
        // The failed record's fixed part is consumed; the next record starts right after it.
        QTest::newRow("negative text length")
            << "Glasses.Dat" << Int32(3) + a + fixedB + Int32(-1) + c
            << QStringList({"Alpha", "Gamma"});
        QTest::newRow("huge text length")
            << "Glasses.Dat" << Int32(2) + a + fixedB + Int32(maxCount) + "0123456789"
            << QStringList({"Alpha"});
        QTest::newRow("glass names equal but for letter case")
            << "Glasses.Dat" << DatabaseFile({GlassRecord("Highball"), GlassRecord("HIGHBALL"), c})
            << QStringList({"Highball", "Gamma"});

        QTest::newRow("ingredients cut off")
            << "Ingredients.Dat" << DatabaseFile({Spirits, Gin}).chopped(20)
            << QStringList({"Spirits"});
        QTest::newRow("ingredient text longer than the file")
            << "Ingredients.Dat" << Int32(2) + Spirits + Gin.left(408) + Int32(1000) + "Juniper"
            << QStringList({"Spirits"});
        QTest::newRow("ingredient names equal but for letter case")
            << "Ingredients.Dat" << DatabaseFile({Spirits, IngredientRecord("SPIRITS", ""), Gin})
            << QStringList({"Spirits", "Gin"});

        QTest::newRow("recipe cut off in an ingredient line")
            << "Recipes.Dat" << DatabaseFile({Recipe2, Recipe1}).chopped(30)
            << QStringList({"Neat Gin"});
        QTest::newRow("recipe with more lines than the file")
            << "Recipes.Dat"
            << Int32(2) + Recipe2 + Recipe1.left(106) + Int32(maxCount) + Recipe1.mid(110)
            << QStringList({"Neat Gin"});
        QTest::newRow("recipe with a negative line count")
            << "Recipes.Dat" << Int32(2) + Recipe2 + Recipe1.left(106) + Int32(-2)
            << QStringList({"Neat Gin"});
        QTest::newRow("recipe with a negative instruction length")
            << "Recipes.Dat" << Int32(2) + Recipe2 + Recipe1.left(102) + Int32(-5) + Int32(0)
            << QStringList({"Neat Gin"});
        QTest::newRow("recipe names equal but for letter case")
            << "Recipes.Dat" << DatabaseFile({Recipe2, RecipeRecord("NEAT GIN", "", "x", {})})
            << QStringList({"Neat Gin"});

        QTest::newRow("help text longer than the file")
            << "Help.Dat" << Int32(2) + HelpRecord("One", "") + Field("Two") + Int32(maxCount)
            << QStringList({"One"});
        QTest::newRow("help titles equal but for letter case")
            << "Help.Dat" << DatabaseFile({HelpRecord("Topic", "a"), HelpRecord("TOPIC", "b")})
            << QStringList({"Topic"});
    }

    void damagedFileLoadsItsCompleteRecords()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, keys);
        folder->WriteDataFile(file, bytes);
        InitDataPath();
        RecipeDatabasePath = DataPath + "Recipes.Dat";

        if (file == "Glasses.Dat") {
            LoadGlasses();
            QCOMPARE(Keys(colGlasses), keys);
        } else if (file == "Ingredients.Dat") {
            LoadIngredients();
            QCOMPARE(Keys(colIngredients), keys);
        } else if (file == "Recipes.Dat") {
            LoadRecipes();
            QCOMPARE(Keys(colRecipes), keys);
        } else {
            LoadHelpTopics();
            QCOMPARE(Keys(colHelpTopics), keys);
        }
    }

    void newKeyGivesDistinctKeys()
    {
        const QString first = NewKey(), second = NewKey();
        QVERIFY(first.size() == 17 && second.size() == 17);
        QVERIFY(first.startsWith('K') && second.startsWith('K'));
        QVERIFY(first != second);
    }

    void recipesLoadAndSaveAtRecipeDatabasePath()
    {
        WriteSmallDatabase(*folder);
        const QString other = folder->Path() + "/Other.Dat";
        const QByteArray elsewhere = RecipeRecord("Elsewhere", "", "", {});
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(DatabaseFile({elsewhere, Recipe2}));
        file.close();
        StartMainWindow();
        QCOMPARE(RecipeDatabasePath, folder->DataPath() + "Recipes.Dat");

        RecipeDatabasePath = other;
        LoadRecipes();
        QCOMPARE(Keys(colRecipes), QStringList({"Elsewhere", "Neat Gin"}));
        colRecipes.Remove("Neat Gin");

        CloseMainWindow();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), DatabaseFile({elsewhere}));
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), Recipes);
    }

private:
    std::unique_ptr<ProgramFolder> folder;
};

QTEST_MAIN(TestDataStore)
#include "test_datastore.moc"
