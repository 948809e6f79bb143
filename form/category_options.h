// Which option button of the premium page stands for which vehicle category. Form1 reads the chosen
// category through it, and the inventory gives each button its category's caption.
#pragma once

#include "engine/premium.h"

#include <array>
#include <string_view>

namespace form {

struct CategoryOption {
    std::string_view name;
    engine::Category category;
};

// In the page's order, top to bottom.
inline constexpr auto kCategoryOptions = std::to_array<CategoryOption>({
    {"Option3", engine::Category::Cars},
    {"Option4", engine::Category::Trucks},
    {"Option5", engine::Category::Trailers},
    {"Option6", engine::Category::Buses},
    {"Option7", engine::Category::Foreign},
});

} // namespace form
