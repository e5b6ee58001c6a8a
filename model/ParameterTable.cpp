#include "ParameterTable.h"

const std::array<const ParameterRow*, parameterTable.size()>& fitOrder() {
    static const auto order = [] {
        std::array<const ParameterRow*, parameterTable.size()> o{};
        for (const ParameterRow& row : parameterTable)
            o[size_t(row.fitPosition)] = &row;
        return o;
    }();
    return order;
}
