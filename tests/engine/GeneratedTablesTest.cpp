// The committed model table is exactly what its generator builds, and it holds the
// promises the normal answers rely on.
#include <gtest/gtest.h>

#include "ModelTableBuilder.h"
#include "engine/CBMUtilities.h"
#include "engine/ModelTable.h"
#include "engine/TemplateTables.h"

namespace tavlix {
namespace {

template <typename Row>
std::vector<std::string> Models(std::span<const Row> rows)
{
    std::vector<std::string> out;
    for (const Row& r : rows)
        out.emplace_back(r.model);
    return out;
}

TEST(GeneratedTablesTest, CommittedModelTableMatchesTheGenerator)
{
    const modelgen::ModelTable built = modelgen::BuildModelTable();
    EXPECT_TRUE(built.unsound.empty());
    const auto compare = [](const std::vector<modelgen::Row>& expected, std::span<const ModelRow> actual) {
        ASSERT_EQ(expected.size(), actual.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(expected[i].model, actual[i].model);
            EXPECT_EQ(expected[i].canonical, actual[i].canonical) << expected[i].model;
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_EQ(expected[i].numbers[k], actual[i].numbers[k]) << expected[i].model;
        }
    };
    compare(built.withoutPower, ModelsWithoutPower());
    compare(built.withPower, ModelsWithPower());
    ASSERT_EQ(built.further.size(), FurtherCanonicalModels().size());
    for (std::size_t i = 0; i < built.further.size(); ++i) {
        EXPECT_EQ(built.further[i].model, FurtherCanonicalModels()[i].model);
        EXPECT_EQ(built.further[i].sortType, FurtherCanonicalModels()[i].sortType);
    }
}

TEST(GeneratedTablesTest, TablesAreSortedForLookup)
{
    for (const auto rows : {ModelsWithoutPower(), ModelsWithPower()}) {
        const auto models = Models(rows);
        EXPECT_TRUE(std::is_sorted(models.begin(), models.end()));
        EXPECT_EQ(std::adjacent_find(models.begin(), models.end()), models.end());
    }
    const auto shapes = Models(FurtherCanonicalModels());
    EXPECT_TRUE(std::is_sorted(shapes.begin(), shapes.end()));
    for (const ModelRow& r : ModelsWithoutPower())
        EXPECT_EQ(r.model.find('^'), std::string_view::npos) << r.model;
    for (const ModelRow& r : ModelsWithPower())
        EXPECT_NE(r.model.find('^'), std::string_view::npos) << r.model;
}

TEST(GeneratedTablesTest, EveryTemplateMapsToItselfUnchanged)
{
    for (const auto table : {StandardTemplates(), AdvancedTemplates()})
        for (const SolutionTemplate& t : table) {
            const ModelRow* row = FindModel(t.text);
            ASSERT_NE(row, nullptr) << t.text;
            EXPECT_EQ(row->canonical, t.text);
            EXPECT_EQ(row->numbers, (std::array<std::uint8_t, 4>{0, 1, 2, 3})) << t.text;
        }
}

TEST(GeneratedTablesTest, TellingRows)
{
    struct Case {
        const char* model;
        const char* canonical;
        std::array<std::uint8_t, 4> numbers;
    } cases[] = {
        {"((n1*n2)-n3)/n4", "(n1*n2-n3)/n4", {0, 1, 2, 3}},
        {"(n1-n2)*(n3+n4)", "(n1+n2)*(n3-n4)", {2, 3, 0, 1}},
        {"((n1+n2)/n3)-n4", "(n1+n2)/n3-n4", {0, 1, 2, 3}},
        {"(n1+n2)/(n3*n4)", "(n1+n2)/n3/n4", {0, 1, 2, 3}},
        {"(n1+(n2+n3))/n4", "(n1+n2+n3)/n4", {0, 1, 2, 3}},
        {"(n1-(n2-n3))/n4", "(n1+n2-n3)/n4", {0, 2, 1, 3}},
        {"(n1+n2)*n3-n4", "n1*(n2+n3)-n4", {2, 0, 1, 3}},
        {"(n1+n2)/(n3/n4)", "n1*(n2+n3)/n4", {3, 0, 1, 2}},
        {"n1/(n2/(n3+n4))", "n1*(n2+n3)/n4", {0, 2, 3, 1}},
        {"n1*(n2*n3*n4)", "n1*n2*n3*n4", {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        const ModelRow* row = FindModel(c.model);
        ASSERT_NE(row, nullptr) << c.model;
        EXPECT_EQ(row->canonical, c.canonical) << c.model;
        EXPECT_EQ(row->numbers, c.numbers) << c.model;
    }
    EXPECT_EQ(CBMUtilities::GetSortType("n1^^n2-n3-n4"), 5);
    EXPECT_EQ(CBMUtilities::GetSortType("n1*n2*n3*n4"), 11);
    EXPECT_EQ(CBMUtilities::GetSortType("(n1+n2)*(n3+n4)"), 7);
    EXPECT_EQ(CBMUtilities::GetSortType("n1+n2*(n3-n4)"), 0);
}

}  // namespace
}  // namespace tavlix
