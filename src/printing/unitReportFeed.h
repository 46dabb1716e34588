#pragma once
// A data feed answers the engine's three questions: which fields a row has
// (name, type, declared width), how many rows there are, and the values of one
// row in declared field order. Values are never cut to the declared width.
#include <QString>
#include <QVariantList>
#include <vector>

enum class FeedFieldType { Text, Boolean };

struct FeedField {
    QString name;
    FeedFieldType type = FeedFieldType::Text;
    int width = 0;
};

class ReportFeed {
public:
    virtual ~ReportFeed() = default;
    virtual QString dataView() const = 0;
    virtual std::vector<FeedField> fields() const = 0;
    // Asked once when the report opens the feed.
    virtual int rowCount() = 0;
    // index 0 .. rowCount()-1; a Boolean field gives a bool, a Text field a QString.
    virtual QVariantList row(int index) = 0;
};
