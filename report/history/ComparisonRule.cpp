#include "report/history/ComparisonRule.h"

#include "report/model/ReportOptions.h"

ComparisonRule ComparisonRule::Since(std::time_t moment) {
    ComparisonRule rule;
    rule.sinceMoment = true;
    rule.moment = moment;
    return rule;
}

ComparisonRule ComparisonRule::Of(const ReportOptions& options) {
    return options.growthSince ? Since(options.growthMoment) : Previous();
}

ComparisonRule::Choice ComparisonRule::Choose(const std::vector<std::time_t>& starts) const {
    Choice choice;
    if (starts.empty()) return choice;
    if (!sinceMoment) {
        choice.index = starts.size() - 1;
        return choice;
    }
    auto distance = [&](std::time_t start) { return start > moment ? start - moment : moment - start; };
    choice.index = 0;
    for (size_t i = 1; i < starts.size(); ++i)
        if (distance(starts[i]) < distance(starts[choice.index])) choice.index = i;
    choice.beforeHistory = starts.front() > moment;
    return choice;
}
