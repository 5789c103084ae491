// One node of the ingredient tree. The object holds its file record exactly as laid out in
// "Ingredients.Dat"; each property reads and writes its own field of that record.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

class Ingredient {
public:
    Ingredient();

    // The name of the root of the ingredient tree, which an ingredient shown in it cannot bear
    // (letter case ignored).
    static inline const QString TreeRootName = QStringLiteral("Ingredients");

    // Replaces the record, and the display text when the record has one, with the ones at the
    // current position; false on any read error.
    bool LoadFromFile(QIODevice& file);
    // Writes the record as held, then the display text when its length is positive.
    bool SaveToFile(QIODevice& file) const;

    bool Action() const;
    void SetAction(bool value);
    QString Animation() const;
    void SetAnimation(const QString& value);
    qint32 Color() const;
    void SetColor(qint32 value);
    QString Cursor() const;
    void SetCursor(const QString& value);
    QString DisplayText() const;
    void SetDisplayText(const QString& value);
    QString HelpTopic() const;
    void SetHelpTopic(const QString& value);
    QString Highlight() const;
    void SetHighlight(const QString& value);
    quint8 HotSpotID() const;
    void SetHotSpotID(quint8 value);
    QString Name() const;
    void SetName(const QString& value);
    quint8 Opacity() const;
    void SetOpacity(quint8 value);
    bool Ounces() const;
    void SetOunces(bool value);
    QString ParentItem() const;
    void SetParentItem(const QString& value);
    QString Shadow() const;
    void SetShadow(const QString& value);
    QString Zoom() const;
    void SetZoom(const QString& value);

    // Size of the record before the display text.
    static constexpr int FixedSize = 412;

private:
    QString TextAt(int offset) const;
    void SetTextAt(int offset, const QString& value);
    qint32 TextLength() const;

    QByteArray record;
    QString displayText;
};
