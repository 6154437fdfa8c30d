#include "track_assignment/exact_search.h"

#include <glpk.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <set>

namespace zeb {

namespace {

// The column of each item's track, by option; the columns of the unplaced items and of the close
// pairs follow.
struct Columns {
    std::vector<std::vector<int>> ofOption; // item → column of each option
    std::vector<int> unplaced;              // item → column
    struct Pair {
        int a;
        int b;
        int track;
        int column;
    };
    std::vector<Pair> close;
};

// The maximal sets of items that hold `track` at one moment: on a line the holds of an interval
// graph meet pairwise exactly where they share a moment, so one row for each such set keeps them
// apart. Round the clock, each hold is also taken a day earlier.
std::vector<std::vector<int>> cliquesOn(const SearchProblem& p, const std::vector<int>& items) {
    struct Event {
        int minute;
        bool starts;
        int item;
    };
    std::vector<Event> events;
    for (int item : items) {
        const SearchItem& it = p.items[static_cast<std::size_t>(item)];
        for (int shift : {0, -kMinutesPerDay}) {
            events.push_back({it.span.start + shift, true, item});
            events.push_back({it.span.end + shift, false, item});
        }
    }
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.minute != b.minute ? a.minute < b.minute : a.starts < b.starts; // ends first
    });
    std::set<std::vector<int>> cliques;
    std::multiset<int> active;
    bool grew = false;
    for (const Event& e : events) {
        if (e.starts) {
            active.insert(e.item);
            grew = true;
            continue;
        }
        if (grew && active.size() >= 2) {
            std::vector<int> clique(active.begin(), active.end());
            clique.erase(std::unique(clique.begin(), clique.end()), clique.end());
            if (clique.size() >= 2)
                cliques.insert(std::move(clique));
        }
        grew = false;
        active.erase(active.find(e.item));
    }
    return {cliques.begin(), cliques.end()};
}

using Problem = std::unique_ptr<glp_prob, decltype(&glp_delete_prob)>;

int addColumn(glp_prob* lp, double cost, bool binary) {
    const int column = glp_add_cols(lp, 1);
    glp_set_col_kind(lp, column, binary ? GLP_BV : GLP_CV);
    if (!binary)
        glp_set_col_bnds(lp, column, GLP_DB, 0.0, 1.0);
    glp_set_obj_coef(lp, column, cost);
    return column;
}

void addRow(glp_prob* lp, const std::vector<int>& columns, const std::vector<double>& values,
            int kind, double bound) {
    const int row = glp_add_rows(lp, 1);
    glp_set_row_bnds(lp, row, kind, bound, bound);
    std::vector<int> index{0};
    std::vector<double> value{0.0};
    index.insert(index.end(), columns.begin(), columns.end());
    value.insert(value.end(), values.begin(), values.end());
    glp_set_mat_row(lp, row, static_cast<int>(columns.size()), index.data(), value.data());
}

Columns buildModel(glp_prob* lp, const SearchProblem& p) {
    Columns c;
    std::vector<std::vector<int>> onTrack(static_cast<std::size_t>(p.tracks));
    std::vector<std::vector<int>> columnOn(static_cast<std::size_t>(p.tracks)); // by item
    for (std::size_t i = 0; i < p.items.size(); ++i) {
        std::vector<int> columns;
        for (const auto& [track, cost] : p.items[i].options) {
            columns.push_back(addColumn(lp, static_cast<double>(cost), true));
            onTrack[static_cast<std::size_t>(track)].push_back(static_cast<int>(i));
            columnOn[static_cast<std::size_t>(track)].resize(p.items.size(), 0);
            columnOn[static_cast<std::size_t>(track)][i] = columns.back();
        }
        c.unplaced.push_back(addColumn(lp, static_cast<double>(p.unplacedCost), true));
        std::vector<int> row = columns;
        row.push_back(c.unplaced.back());
        addRow(lp, row, std::vector<double>(row.size(), 1.0), GLP_FX, 1.0);
        c.ofOption.push_back(std::move(columns));
    }
    for (int track = 0; track < p.tracks; ++track) {
        const auto& items = onTrack[static_cast<std::size_t>(track)];
        const auto& column = columnOn[static_cast<std::size_t>(track)];
        for (const std::vector<int>& clique : cliquesOn(p, items)) {
            std::vector<int> row;
            for (int item : clique)
                row.push_back(column[static_cast<std::size_t>(item)]);
            addRow(lp, row, std::vector<double>(row.size(), 1.0), GLP_UP, 1.0);
        }
        if (p.buffer <= 0 && !p.pairRisk)
            continue;
        for (std::size_t x = 0; x < items.size(); ++x) {
            for (std::size_t y = x + 1; y < items.size(); ++y) {
                const long cost = pairCost(p, p.items[static_cast<std::size_t>(items[x])],
                                           p.items[static_cast<std::size_t>(items[y])]);
                if (cost <= 0)
                    continue;
                const int pair = addColumn(lp, static_cast<double>(cost), false);
                c.close.push_back({items[x], items[y], track, pair});
                addRow(lp,
                       {column[static_cast<std::size_t>(items[x])],
                        column[static_cast<std::size_t>(items[y])], pair},
                       {1.0, 1.0, -1.0}, GLP_UP, 1.0);
            }
        }
    }
    return c;
}

// What the solver's callback needs: the seed to offer once, the clock, the progress.
struct SearchState {
    const SearchProblem* problem;
    const Columns* columns;
    std::vector<double> seed; // by column, 1-based
    bool offered = false;
    std::chrono::steady_clock::time_point started;
    double seconds;
    const std::function<bool(double)>* progress;
};

std::vector<double> seedValues(glp_prob* lp, const SearchProblem& p, const Columns& c) {
    std::vector<double> values(static_cast<std::size_t>(glp_get_num_cols(lp)) + 1, 0.0);
    std::vector<int> trackOf(p.items.size(), -1);
    for (std::size_t i = 0; i < p.items.size(); ++i) {
        const auto& options = p.items[i].options;
        const auto on = std::find_if(options.begin(), options.end(),
                                     [&](const auto& o) { return o.first == p.items[i].seed; });
        if (on == options.end()) {
            values[static_cast<std::size_t>(c.unplaced[i])] = 1.0;
            continue;
        }
        trackOf[i] = on->first;
        values[static_cast<std::size_t>(
            c.ofOption[i][static_cast<std::size_t>(on - options.begin())])] = 1.0;
    }
    for (const Columns::Pair& pair : c.close) {
        if (trackOf[static_cast<std::size_t>(pair.a)] == pair.track &&
            trackOf[static_cast<std::size_t>(pair.b)] == pair.track)
            values[static_cast<std::size_t>(pair.column)] = 1.0;
    }
    return values;
}

void callback(glp_tree* tree, void* info) {
    auto& state = *static_cast<SearchState*>(info);
    if (glp_ios_reason(tree) == GLP_IHEUR && !state.offered) {
        state.offered = true;
        glp_ios_heur_sol(tree, state.seed.data());
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - state.started;
    if (*state.progress && !(*state.progress)(std::min(1.0, spent.count() / state.seconds)))
        glp_ios_terminate(tree);
}

} // namespace

bool solverAvailable() {
    return true;
}

std::optional<std::vector<int>> solveModel(const SearchProblem& problem, double seconds,
                                           const std::function<bool(double)>& progress,
                                           bool& optimal) {
    optimal = false;
    if (problem.items.empty() || seconds <= 0)
        return std::nullopt;
    glp_term_out(GLP_OFF);
    Problem lp(glp_create_prob(), &glp_delete_prob);
    glp_set_obj_dir(lp.get(), GLP_MIN);
    const Columns columns = buildModel(lp.get(), problem);
    SearchState state{&problem,
                      &columns,
                      seedValues(lp.get(), problem, columns),
                      false,
                      std::chrono::steady_clock::now(),
                      seconds,
                      &progress};
    const int limit = static_cast<int>(seconds * 1000.0);

    glp_smcp simplex;
    glp_init_smcp(&simplex);
    simplex.msg_lev = GLP_MSG_OFF;
    simplex.tm_lim = limit;
    if (glp_simplex(lp.get(), &simplex) != 0 || glp_get_status(lp.get()) != GLP_OPT)
        return std::nullopt;
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - state.started;
    glp_iocp mip;
    glp_init_iocp(&mip);
    mip.msg_lev = GLP_MSG_OFF;
    mip.tm_lim = std::max(1, limit - static_cast<int>(spent.count() * 1000.0));
    mip.cb_func = callback;
    mip.cb_info = &state;
    glp_intopt(lp.get(), &mip);
    const int status = glp_mip_status(lp.get());
    if (status != GLP_OPT && status != GLP_FEAS)
        return std::nullopt;
    optimal = status == GLP_OPT;
    std::vector<int> tracks(problem.items.size(), -1);
    for (std::size_t i = 0; i < problem.items.size(); ++i) {
        for (std::size_t k = 0; k < columns.ofOption[i].size(); ++k) {
            if (glp_mip_col_val(lp.get(), columns.ofOption[i][k]) > 0.5)
                tracks[i] = problem.items[i].options[k].first;
        }
    }
    return tracks;
}

} // namespace zeb
