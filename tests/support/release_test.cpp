// The registry behind RELEASE_TEST and the main of every release test program.
#include "release_test.h"

#include <utility>
#include <vector>

namespace release_test {
namespace {

struct Listed {
    std::function<bool()> applies;
    std::function<void()> registration;
};

// A function's own static: tests are kept by static initialisers of other files.
std::vector<Listed>& Kept() {
    static std::vector<Listed> kept;
    return kept;
}

}  // namespace

bool ListWhere(std::function<bool()> applies, std::function<void()> registration) {
    Kept().push_back({std::move(applies), std::move(registration)});
    return true;
}

void RegisterApplicable() {
    for (const Listed& listed : Kept())
        if (listed.applies()) listed.registration();
}

}  // namespace release_test

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    release_test::RegisterApplicable();
    return RUN_ALL_TESTS();
}
