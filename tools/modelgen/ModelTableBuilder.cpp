#include "ModelTableBuilder.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "engine/CBMUtilities.h"
#include "engine/TemplateTables.h"

namespace tavlix::modelgen {

namespace {

// A calculation over the placeholders; 'r' is the root operator "^^".
struct Tree {
    char op = 0;  // 0 for a placeholder
    int leaf = 0;
    std::shared_ptr<const Tree> left, right;
};
using TreePtr = std::shared_ptr<const Tree>;
using Perm = std::array<int, 4>;

int Precedence(char op)
{
    switch (op) {
    case '+': case '-': return 1;
    case '*': case '/': return 2;
    case '^': case 'r': return 3;
    default: return 4;
    }
}

std::string OperatorText(char op) { return op == 'r' ? "^^" : std::string(1, op); }

// ---- Canonical key: sums and products flattened, their terms sorted ----------------

std::string Key(const TreePtr& t, const Perm& perm);

void CollectTerms(const TreePtr& t, const Perm& perm, bool inverted, char plus, char minus,
                  std::vector<std::string>& terms)
{
    if (t->op == plus || t->op == minus) {
        CollectTerms(t->left, perm, inverted, plus, minus, terms);
        CollectTerms(t->right, perm, t->op == minus ? !inverted : inverted, plus, minus, terms);
        return;
    }
    terms.push_back((inverted ? "~" : "") + Key(t, perm));
}

std::string Key(const TreePtr& t, const Perm& perm)
{
    switch (t->op) {
    case 0: return "x" + std::to_string(perm[std::size_t(t->leaf)]);
    case '^': return "W(" + Key(t->left, perm) + "," + Key(t->right, perm) + ")";
    case 'r': return "R(" + Key(t->left, perm) + "," + Key(t->right, perm) + ")";
    default: break;
    }
    const bool sum = t->op == '+' || t->op == '-';
    std::vector<std::string> terms;
    CollectTerms(t, perm, false, sum ? '+' : '*', sum ? '-' : '/', terms);
    std::sort(terms.begin(), terms.end());
    std::string key = sum ? "S(" : "P(";
    for (const std::string& term : terms)
        key += term + ";";
    return key + ")";
}

const Perm kIdentity = {0, 1, 2, 3};

std::vector<Perm> AllPermutations()
{
    std::vector<Perm> perms;
    Perm p = kIdentity;
    do
        perms.push_back(p);
    while (std::next_permutation(p.begin(), p.end()));
    return perms;
}

// ---- Model texts ---------------------------------------------------------------------

class ModelParser {
public:
    explicit ModelParser(std::string text) : m_text(std::move(text)) {}

    TreePtr Parse()
    {
        TreePtr t = Sum();
        return t && m_pos == m_text.size() ? t : nullptr;
    }

private:
    TreePtr Node(char op, TreePtr l, TreePtr r)
    {
        return l && r ? std::make_shared<const Tree>(Tree{op, 0, std::move(l), std::move(r)})
                      : nullptr;
    }
    bool At(char c) const { return m_pos < m_text.size() && m_text[m_pos] == c; }

    TreePtr Sum()
    {
        TreePtr t = Product();
        while (t && (At('+') || At('-'))) {
            const char op = m_text[m_pos++];
            t = Node(op, t, Product());
        }
        return t;
    }
    TreePtr Product()
    {
        TreePtr t = Power();
        while (t && (At('*') || At('/'))) {
            const char op = m_text[m_pos++];
            t = Node(op, t, Power());
        }
        return t;
    }
    TreePtr Power()
    {
        TreePtr t = Primary();
        while (t && At('^')) {
            ++m_pos;
            char op = '^';
            if (At('^')) {
                ++m_pos;
                op = 'r';
            }
            t = Node(op, t, Primary());
        }
        return t;
    }
    TreePtr Primary()
    {
        if (At('(')) {
            ++m_pos;
            TreePtr t = Sum();
            if (!t || !At(')'))
                return nullptr;
            ++m_pos;
            return t;
        }
        if (At('n') && m_pos + 1 < m_text.size() && m_text[m_pos + 1] >= '1' &&
            m_text[m_pos + 1] <= '4') {
            auto leaf = std::make_shared<Tree>();
            leaf->leaf = m_text[m_pos + 1] - '1';
            m_pos += 2;
            return leaf;
        }
        return nullptr;
    }

    std::string m_text;
    std::size_t m_pos = 0;
};

TreePtr ParseModel(const std::string& text)
{
    return ModelParser(text).Parse();
}

// Every tree over the placeholders first..last-1, in order, with the given operators.
std::vector<TreePtr> Trees(int first, int last, std::string_view ops)
{
    if (last - first == 1) {
        auto leaf = std::make_shared<Tree>();
        leaf->leaf = first;
        return {leaf};
    }
    std::vector<TreePtr> trees;
    for (int split = first + 1; split < last; ++split)
        for (const TreePtr& l : Trees(first, split, ops))
            for (const TreePtr& r : Trees(split, last, ops))
                for (const char op : ops)
                    trees.push_back(std::make_shared<const Tree>(Tree{op, 0, l, r}));
    return trees;
}

// Every way to write a tree: required parentheses always, redundant ones (around a
// tighter-binding operand, or a left operand of the same level) with and without.
std::vector<std::string> Writings(const TreePtr& t, bool redundantToo)
{
    if (t->op == 0)
        return {"n" + std::to_string(t->leaf + 1)};
    const auto operands = [&](const TreePtr& child, bool required) {
        std::vector<std::string> out;
        for (const std::string& w : Writings(child, redundantToo)) {
            if (required || child->op == 0 || !redundantToo)
                out.push_back(required ? "(" + w + ")" : w);
            else {
                out.push_back(w);
                out.push_back("(" + w + ")");
            }
        }
        return out;
    };
    const int p = Precedence(t->op);
    std::vector<std::string> writings;
    for (const std::string& l : operands(t->left, Precedence(t->left->op) < p))
        for (const std::string& r : operands(t->right, Precedence(t->right->op) <= p))
            writings.push_back(l + OperatorText(t->op) + r);
    return writings;
}

int ParenthesisPairs(const std::string& text) { return int(std::count(text.begin(), text.end(), '(')); }

// The normalisation type that orders the interchangeable numbers of a further shape.
int SymmetryType(const TreePtr& shape)
{
    const std::string identity = Key(shape, kIdentity);
    const auto invariant = [&](int i, int j) {
        Perm p = kIdentity;
        std::swap(p[std::size_t(i)], p[std::size_t(j)]);
        return Key(shape, p) == identity;
    };
    if (invariant(0, 1) && invariant(1, 2))
        return 1;
    if (invariant(1, 2) && invariant(2, 3))
        return 2;
    if (invariant(0, 1) && invariant(2, 3))
        return 6;
    if (invariant(0, 1))
        return 3;
    if (invariant(1, 2))
        return 4;
    if (invariant(2, 3))
        return 5;
    return 0;
}

struct Target {
    std::string canonical;
    Perm numbers;
};

// Maps every calculation an ordering of a canonical model computes to that model.
class CanonicalIndex {
public:
    bool Covers(const std::string& key) const { return m_targets.count(key) != 0; }
    const Target& At(const std::string& key) const { return m_targets.at(key); }

    void Add(const std::string& canonical)
    {
        const TreePtr tree = ParseModel(canonical);
        for (const Perm& perm : AllPermutations())
            m_targets.emplace(Key(tree, perm), Target{canonical, perm});
    }

private:
    std::map<std::string, Target> m_targets;
};

}  // namespace

ModelTable BuildModelTable()
{
    CanonicalIndex index;
    for (const auto table : {StandardTemplates(), AdvancedTemplates()})
        for (const SolutionTemplate& t : table)
            index.Add(std::string(t.text));
    index.Add("n1+n2+n3+n4");
    index.Add("n1*n2*n3*n4");

    // Every model text, each with what it computes.
    std::map<std::string, std::string> models;
    std::set<std::string> simplest;  // the writings without redundant parentheses
    ModelTable table;
    for (const std::string_view ops : {"+-*/", "+-*/^r"}) {
        for (const TreePtr& tree : Trees(0, 4, ops)) {
            const std::string key = Key(tree, kIdentity);
            for (const std::string& w : Writings(tree, true)) {
                const std::string model = CBMUtilities::SimplifyParentheses(w);
                const TreePtr read = ParseModel(model);
                if (!read || Key(read, kIdentity) != key)
                    table.unsound.push_back(model);
                else
                    models.emplace(model, key);
            }
            simplest.insert(CBMUtilities::SimplifyParentheses(Writings(tree, false).front()));
        }
    }

    // Calculations no template computes get the simplest writing of their own.
    std::vector<std::string> candidates(simplest.begin(), simplest.end());
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return ParenthesisPairs(a) < ParenthesisPairs(b);
    });
    for (const std::string& candidate : candidates) {
        const TreePtr tree = ParseModel(candidate);
        if (index.Covers(Key(tree, kIdentity)))
            continue;
        index.Add(candidate);
        table.further.push_back({candidate, SymmetryType(tree)});
    }
    std::sort(table.further.begin(), table.further.end(),
              [](const Shape& a, const Shape& b) { return a.model < b.model; });

    for (const auto& [model, key] : models) {
        const Target& target = index.At(key);
        auto& half = model.find('^') == std::string::npos ? table.withoutPower : table.withPower;
        half.push_back({model, target.canonical, target.numbers});
    }
    return table;
}

std::string WriteModelTableSource(const ModelTable& table)
{
    std::ostringstream out;
    out << "// Generated by tavlix-modelgen; do not edit. Regenerate with\n"
           "//   tavlix-modelgen > src/engine/ModelTableData.cpp\n"
           "#include \"engine/ModelTable.h\"\n\n"
           "namespace tavlix {\n\nnamespace {\n\n";
    const auto writeRows = [&](const char* name, const std::vector<Row>& rows) {
        out << "constexpr ModelRow " << name << "[] = {\n";
        for (const Row& r : rows)
            out << "    {\"" << r.model << "\", \"" << r.canonical << "\", {" << r.numbers[0]
                << ", " << r.numbers[1] << ", " << r.numbers[2] << ", " << r.numbers[3]
                << "}},\n";
        out << "};\n\n";
    };
    writeRows("kWithoutPower", table.withoutPower);
    writeRows("kWithPower", table.withPower);
    out << "constexpr CanonicalShape kFurther[] = {\n";
    for (const Shape& s : table.further)
        out << "    {\"" << s.model << "\", " << s.sortType << "},\n";
    out << "};\n\n}  // namespace\n\n"
           "std::span<const ModelRow> ModelsWithoutPower() { return kWithoutPower; }\n"
           "std::span<const ModelRow> ModelsWithPower() { return kWithPower; }\n"
           "std::span<const CanonicalShape> FurtherCanonicalModels() { return kFurther; }\n\n"
           "}  // namespace tavlix\n";
    return out.str();
}

}  // namespace tavlix::modelgen
