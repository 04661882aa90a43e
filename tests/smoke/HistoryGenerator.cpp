// Writes a generated history of answers into a history file, as the program would have
// kept them:
//
//   tavlix_history_generator FILE NOW [COUNT [DAYS]]
//
// NOW in seconds since the Unix epoch; COUNT answers (100,000) over DAYS days (365).

#include <cstdio>
#include <cstdlib>
#include <string>

#include "GeneratedHistory.h"
#include "history/SqliteHistoryStore.h"

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: %s FILE NOW [COUNT [DAYS]]\n", argv[0]);
        return 2;
    }
    const std::int64_t now = std::strtoll(argv[2], nullptr, 10);
    const int count = argc > 3 ? std::atoi(argv[3]) : 100'000;
    const int days = argc > 4 ? std::atoi(argv[4]) : 365;
    if (now <= 0 || count <= 0 || days <= 0) {
        std::fprintf(stderr, "NOW, COUNT and DAYS must be positive numbers\n");
        return 2;
    }
    std::string error;
    auto store = tavlix::SqliteHistoryStore::Open(argv[1], error);
    if (!store) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    for (const tavlix::AnswerRecord& record : tavlix::testing::GeneratedHistory(now, count, days)) {
        if (!store->Add(record, error)) {
            std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
            return 1;
        }
    }
    return 0;
}
