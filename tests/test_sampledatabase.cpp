// The bundled sample database: it loads cleanly, and a session without changes writes the
// three editable files back byte for byte.
#include "TestSupport.h"

#include "platform/MessageBox.h"
#include "store/modCellarix.h"

#include <QFile>
#include <QTest>

using namespace TestSupport;
using namespace modCellarix;

class TestSampleDatabase : public QObject {
    Q_OBJECT

private slots:
    void sampleDatabaseLoadsCleanlyAndSurvivesAnUnchangedSession()
    {
        ProgramFolder folder;
        const QStringList files{"Glasses.Dat", "Ingredients.Dat", "Recipes.Dat", "Help.Dat"};
        QList<QByteArray> original;
        for (const QString& name : files) {
            QFile file(QStringLiteral(SAMPLE_DATABASE_DIR "/") + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            original << file.readAll();
            folder.WriteDataFile(name, original.last());
        }
        StartMainWindow();
        QVERIFY(platform::MessageBox::Shown().isEmpty());
        QVERIFY(colGlasses.Count() >= 20);
        QVERIFY(colIngredients.Count() >= 100);
        QVERIFY(colRecipes.Count() >= 50);
        QVERIFY(colHelpTopics.Count() >= 5);
        CloseMainWindow();
        for (int i = 0; i < files.size(); ++i)
            QCOMPARE(folder.ReadDataFile(files[i]), original[i]);
    }
};

QTEST_MAIN(TestSampleDatabase)
#include "test_sampledatabase.moc"
