#include "track_assignment/exact_search.h"

#include <algorithm>
#include <chrono>

namespace zeb {

long pairCost(const SearchProblem& p, const SearchItem& a, const SearchItem& b) {
    const int gap = gapAround(a.span, b.span);
    const long risk = p.pairRisk ? p.pairRisk(a.key, b.key) : 0;
    return risk + (gap < p.buffer ? p.closeCost + (p.buffer - gap) : 0);
}

namespace {

// The problem's cost of a placement: each item's track or its absence, each close pair.
long costOf(const SearchProblem& p, const std::vector<int>& tracks) {
    std::vector<std::vector<int>> on(static_cast<std::size_t>(p.tracks));
    long cost = 0;
    for (std::size_t i = 0; i < p.items.size(); ++i) {
        const auto& options = p.items[i].options;
        const auto at = std::find_if(options.begin(), options.end(),
                                     [&](const auto& o) { return o.first == tracks[i]; });
        if (at == options.end()) {
            cost += p.unplacedCost;
            continue;
        }
        cost += at->second;
        on[static_cast<std::size_t>(at->first)].push_back(static_cast<int>(i));
    }
    for (const std::vector<int>& items : on) {
        for (std::size_t x = 0; x < items.size(); ++x)
            for (std::size_t y = x + 1; y < items.size(); ++y)
                cost += pairCost(p, p.items[static_cast<std::size_t>(items[x])],
                                 p.items[static_cast<std::size_t>(items[y])]);
    }
    return cost;
}

// The items `window` as a problem of their own, the others standing where `tracks` has them: a
// track one of those takes is no option, one beside it costs its close pair.
SearchProblem windowProblem(const SearchProblem& p, const std::vector<int>& window,
                            const std::vector<int>& tracks) {
    SearchProblem sub{p.tracks, {}, p.buffer, p.unplacedCost, p.closeCost, p.pairRisk};
    std::vector<bool> inside(p.items.size(), false);
    for (int item : window)
        inside[static_cast<std::size_t>(item)] = true;
    std::vector<std::vector<int>> on(static_cast<std::size_t>(p.tracks));
    for (std::size_t i = 0; i < p.items.size(); ++i)
        if (!inside[i] && tracks[i] >= 0)
            on[static_cast<std::size_t>(tracks[i])].push_back(static_cast<int>(i));
    for (int item : window) {
        SearchItem it = p.items[static_cast<std::size_t>(item)];
        it.seed = tracks[static_cast<std::size_t>(item)];
        std::vector<std::pair<int, long>> options;
        for (auto [track, cost] : it.options) {
            bool free = true;
            for (int other : on[static_cast<std::size_t>(track)]) {
                const SearchItem& there = p.items[static_cast<std::size_t>(other)];
                free = free && !clash(it.span, there.span);
                cost += pairCost(p, it, there);
            }
            if (free)
                options.push_back({track, cost});
        }
        it.options = std::move(options);
        sub.items.push_back(std::move(it));
    }
    return sub;
}

constexpr std::size_t kFirstWindow = 200;

struct RoundResult {
    bool better = false;    // some window found a placement that costs less
    bool allOptimal = true; // each window was solved to its optimum
};

// The windows' search: the placement so far, its cost, and the clock.
class WindowSearch {
public:
    WindowSearch(const SearchProblem& problem, double seconds,
                 const std::function<bool(double)>& progress)
        : problem_(problem), seconds_(seconds), progress_(progress),
          started_(std::chrono::steady_clock::now()), order_(problem.items.size()) {
        for (std::size_t i = 0; i < order_.size(); ++i)
            order_[i] = static_cast<int>(i);
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            return problem.items[static_cast<std::size_t>(a)].span.start <
                   problem.items[static_cast<std::size_t>(b)].span.start;
        });
        for (const SearchItem& item : problem.items)
            tracks_.push_back(item.seed);
        cost_ = costOf(problem, tracks_);
    }

    // Time is left and the user has not stopped the search.
    bool going() {
        stopped_ = stopped_ || (progress_ && !progress_(std::min(1.0, spent() / seconds_)));
        return !stopped_ && seconds_ - spent() > 0.01;
    }

    // Windows of `size` items in time order, half overlapping, from `shift` round the day.
    RoundResult round(std::size_t size, std::size_t shift) {
        RoundResult result;
        const std::size_t count = order_.size();
        for (std::size_t from = 0; from < count && going();
             from += std::max<std::size_t>(1, size / 2)) {
            std::vector<int> window;
            for (std::size_t k = 0; k < std::min(size, count); ++k)
                window.push_back(order_[(shift + from + k) % count]);
            bool optimal = false;
            auto tell = [this](double) { return going(); };
            const auto found = solveModel(windowProblem(problem_, window, tracks_),
                                          seconds_ - spent(), tell, optimal);
            result.allOptimal = result.allOptimal && optimal;
            if (found) {
                std::vector<int> tried = tracks_;
                for (std::size_t k = 0; k < window.size(); ++k)
                    tried[static_cast<std::size_t>(window[k])] = (*found)[k];
                if (const long now = costOf(problem_, tried); now < cost_) {
                    tracks_ = std::move(tried);
                    cost_ = now;
                    result.better = improved_ = true;
                }
            }
            if (from + size >= count)
                break;
        }
        return result;
    }

    std::optional<std::vector<int>> best() const {
        if (!improved_)
            return std::nullopt;
        return tracks_;
    }

private:
    double spent() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    }

    const SearchProblem& problem_;
    double seconds_;
    const std::function<bool(double)>& progress_;
    std::chrono::steady_clock::time_point started_;
    std::vector<int> order_; // the items by start
    std::vector<int> tracks_;
    long cost_ = 0;
    bool stopped_ = false;
    bool improved_ = false;
};

} // namespace

// A day of many trains is more than the solver takes whole in a few seconds: it takes them by
// windows of time instead, the rest standing, a window after the other round the day, and keeps
// each window's placement that costs less. Where a round of windows finds nothing, the windows
// double and shift, so that their edges fall elsewhere, until the whole day is one window: the
// time given is used while the search can still improve, and the search ends early only once
// the whole day is solved to the optimum.
std::optional<std::vector<int>> searchTracks(const SearchProblem& problem, double seconds,
                                             const std::function<bool(double)>& progress) {
    if (problem.items.empty() || seconds <= 0 || !solverAvailable())
        return std::nullopt;
    WindowSearch search(problem, seconds, progress);
    for (std::size_t window = kFirstWindow; search.going();) {
        const bool whole = window >= problem.items.size();
        const RoundResult round =
            search.round(whole ? problem.items.size() : window,
                         whole ? 0 : (window / kFirstWindow - 1) * window / 4);
        if (round.better)
            continue;
        if (whole && round.allOptimal)
            break; // the whole day at its optimum: nothing more to find
        if (!whole)
            window *= 2;
    }
    return search.best();
}

} // namespace zeb
