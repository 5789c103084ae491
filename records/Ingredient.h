// One node of the ingredient tree. The object holds its file record exactly as laid out in
// "Ingredients.Dat"; each property reads and writes its own field of that record.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

class Ingredient {
public:
    Ingredient();

    // Replaces the record with the one at the current position; false on any read error.
    bool LoadFromFile(QIODevice& file);
    // Writes the record as held, then the display text when its length is positive.
    bool SaveToFile(QIODevice& file) const;

    bool Action() const;
    void SetAction(bool vData);
    QString Animation() const;
    void SetAnimation(const QString& vData);
    qint32 Color() const;
    void SetColor(qint32 vData);
    QString Cursor() const;
    void SetCursor(const QString& vData);
    QString DisplayText() const;
    void SetDisplayText(const QString& vData);
    QString HelpTopic() const;
    void SetHelpTopic(const QString& vData);
    QString Highlight() const;
    void SetHighlight(const QString& vData);
    quint8 HotSpotID() const;
    void SetHotSpotID(quint8 vData);
    QString Name() const;
    void SetName(const QString& vData);
    quint8 Opacity() const;
    void SetOpacity(quint8 vData);
    bool Ounces() const;
    void SetOunces(bool vData);
    QString ParentItem() const;
    void SetParentItem(const QString& vData);
    QString Shadow() const;
    void SetShadow(const QString& vData);
    QString Zoom() const;
    void SetZoom(const QString& vData);

    // Size of the record before the display text.
    static constexpr int FixedSize = 412;

private:
    QString TextAt(int offset) const;
    void SetTextAt(int offset, const QString& vData);
    qint32 TextLength() const;

    QByteArray record;
    QString displayText;
};
