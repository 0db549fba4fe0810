// New descriptions, a new order and several records deleted at once: each
// lays the base out as the format wants it, or changes nothing.

#include "engine/engine_texts.h"
#include "tests/engine/engine_fixture.h"
#include "tests/stored_base.h"

#include <functional>

namespace pictarium::test {
namespace {

using Arrangement = EngineTest;

const QList<StoredRecord> kFour = {{storedText("un"), storedPicture(Qt::red, 2, 2)},
                                   {storedText("deux"), storedPicture(Qt::green, 3, 2)},
                                   {storedText("trois"), storedPicture(Qt::blue, 2, 4)},
                                   {storedText("quatre"), storedPicture(Qt::yellow, 5, 1)}};

QList<StoredRecord> reordered(const QList<int>& order) {
    QList<StoredRecord> records;
    for (const int i : order) {
        records.append(kFour[i]);
    }
    return records;
}

QList<StoredRecord> withText(int index, const QByteArray& text) {
    QList<StoredRecord> records = kFour;
    records[index].text = storedText(text);
    return records;
}

// The operations, each as one call on an open base.
using Operation = std::function<bool(ClassDBP&)>;

Operation texts(const QList<TextChange>& changes) {
    return [changes](ClassDBP& base) { return base.ChangeTextsBDP(changes); };
}

Operation order(const QList<std::int32_t>& newOrder, std::int32_t shown) {
    return [newOrder, shown](ClassDBP& base) { return base.ReorderBDP(newOrder, shown); };
}

Operation move(std::int32_t from, std::int32_t to) {
    return [from, to](ClassDBP& base) { return base.MoveRecordBDP(from, to); };
}

Operation removal(const QList<std::int32_t>& indexes) {
    return [indexes](ClassDBP& base) { return base.DeleteRecordsBDP(indexes); };
}

struct Change {
    const char* name;
    Operation apply;
    QList<StoredRecord> after;
    QString shown;  // the description on show afterwards
};

TEST_F(Arrangement, eachChangeLaysTheBaseOutAsTheFormatWants) {
    QList<StoredRecord> twoTexts = withText(3, "4");
    twoTexts[0].text = storedText("premier");
    const Change changes[] = {
        {"one text", texts({{1, "second"}}), withText(1, "second"), "second"},
        {"two texts", texts({{3, "4"}, {0, "premier"}}), twoTexts, "premier"},
        {"a new order", order({2, 0, 3, 1}, 3), reordered({2, 0, 3, 1}), "deux"},
        {"first to last", move(0, 3), reordered({1, 2, 3, 0}), "un"},
        {"last to first", move(3, 0), reordered({3, 0, 1, 2}), "quatre"},
        {"one place on", move(1, 2), reordered({0, 2, 1, 3}), "deux"},
        {"to where it is", move(2, 2), kFour, "trois"},
        {"two deleted", removal({3, 1}), reordered({0, 2}), "trois"},
        {"the last deleted", removal({3}), reordered({0, 1, 2}), "trois"},
        {"all deleted", removal({0, 1, 2, 3}), {}, ""},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        const QString path = basePath();
        writeAll(path, wellFormedBase(kFour));
        if (mBase.isBaseOpen()) {
            mHost.answer(MessageAnswer::Yes);  // to close the base the change before left
        }
        ASSERT_TRUE(mBase.OpenBDP(path));
        mHost.messages.clear();
        EXPECT_TRUE(change.apply(mBase));
        EXPECT_EQ(readAll(path), wellFormedBase(change.after));
        EXPECT_EQ(mHost.lastText, change.shown);
        EXPECT_FALSE(tempFilesLeft());
        EXPECT_TRUE(mHost.messages.empty());
    }
}

TEST_F(Arrangement, aRefusedChangeSaysWhyAndWritesNothing) {
    const std::pair<Operation, QString> refusals[] = {
        {texts({{0, "   "}}), EngineText::TextMissing},
        {texts({{0, "bon"}, {1, QString(256, 'a')}}), EngineText::TextTooLong},
        {texts({{4, "cinq"}}), EngineText::BadIndex},
        {move(0, 4), EngineText::BadIndex},
        {move(-1, 0), EngineText::BadIndex},
        {order({0, 1, 2}, 0), EngineText::BadIndex},
        {order({0, 1, 1, 3}, 0), EngineText::BadIndex},
        {order({0, 1, 2, 4}, 0), EngineText::BadIndex},
        {order({3, 2, 1, 0}, 4), EngineText::BadIndex},
        {removal({1, 1}), EngineText::BadIndex},
        {removal({0, 4}), EngineText::BadIndex},
    };
    const QString path = basePath();
    writeAll(path, wellFormedBase(kFour));
    ASSERT_TRUE(mBase.OpenBDP(path));
    for (const auto& [refused, message] : refusals) {
        SCOPED_TRACE(message.toStdString());
        mHost.messages.clear();
        EXPECT_FALSE(refused(mBase));
        ASSERT_EQ(mHost.messages.size(), std::size_t{1});
        EXPECT_EQ(mHost.messages.front().text, message);
        EXPECT_EQ(readAll(path), wellFormedBase(kFour));
    }
}

}  // namespace
}  // namespace pictarium::test
