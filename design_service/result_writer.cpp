#include "design_service/result_writer.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include <nlohmann/json.hpp>

namespace zorv_service {
namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

// Six significant digits: what a design report shows, and the same digits for
// values the drawings compare (a plate edge and its corner stay equal).
double Tidy(double x) {
    if (x == 0) return 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", x);
    return std::strtod(text, nullptr);
}

void Fill(Json& out, const std::vector<KeySpec>& keys, const ResultValues& values, const char* where) {
    for (const KeySpec& k : keys) {
        if (k.type == KeyType::kText) {
            auto it = values.texts.find(k.key);
            if (it == values.texts.end()) throw std::logic_error(std::string("no text for ") + where + k.key);
            out[k.key] = it->second;
        } else {
            auto it = values.numbers.find(k.key);
            if (it == values.numbers.end()) throw std::logic_error(std::string("no number for ") + where + k.key);
            if (!std::isfinite(it->second))
                throw std::logic_error(std::string("the number for ") + where + k.key + " is not finite");
            out[k.key] = Tidy(it->second);
        }
    }
}

std::string Number(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", x);
    return text;
}

const ResultValues& Side(const BayDesign& bay, int side) { return side == 0 ? bay.left : bay.right; }

double Get(const ResultValues& v, const std::string& key) {
    auto it = v.numbers.find(key);
    return it == v.numbers.end() ? 0 : it->second;
}

std::string Text(const ResultValues& v, const std::string& key) {
    auto it = v.texts.find(key);
    return it == v.texts.end() ? "" : it->second;
}

void CheckRows(std::string& out, const ResultValues& v, const std::vector<std::string>& suffixes) {
    char line[160];
    std::snprintf(line, sizeof line, "  %-14s %14s %14s %8s  %s\n", "check", "demand", "capacity", "ratio", "");
    out += line;
    for (const std::string& s : suffixes) {
        double ratio = Get(v, "DCR_" + s);
        std::snprintf(line, sizeof line, "  %-14s %14s %14s %8.4f  %s\n", ("DCR_" + s).c_str(),
                      Number(Get(v, "Demand_" + s)).c_str(), Number(Get(v, "Capacity_" + s)).c_str(), ratio,
                      ratio >= 1 ? "NG" : "OK");
        out += line;
    }
}

void BraceSummary(std::string& out, const ResultValues& v, const std::vector<std::string>& suffixes,
                  const std::string& units) {
    const std::string force = units == "kN-mm" ? "kN" : "tonf";
    const std::string stiffness = force + "/mm";
    const struct {
        const char* label;
        const char* key;
        std::string unit;
    } rows[] = {
        {"Work-point length L_wp", "L_wp", "mm"}, {"Brace length L_brb", "L_brb", "mm"},
        {"Core length L_c", "L_c", "mm"},         {"Core plate thickness t_c", "t_c", "mm"},
        {"Core plate width B_c", "B_c", "mm"},    {"Core area A_c", "A_c", "mm^2"},
        {"Joint area A_j", "A_j", "mm^2"},        {"Yield force P_y", "P_y", force},
        {"Largest force P_max", "P_max", force},  {"Stiffness K_eff", "K_eff", stiffness},
        {"Q_factor", "Q_factor", ""},             {"Alpha_L", "Alpha_L", ""},
        {"Gusset thickness t_g", "t_g", "mm"},
    };
    for (const auto& row : rows)
        out += std::string("  ") + row.label + ": " + Number(Get(v, row.key)) + (row.unit.empty() ? "" : " ") +
               row.unit + "\n";
    out += "  Casing: " + Text(v, "Steel_Casing_Size") + "\n";
    CheckRows(out, v, suffixes);
}

}  // namespace

std::string ErrorResultJson(const std::string& message) {
    Json error = Json::object();
    error["Error"] = message;
    return Dump(error);
}

std::string WriteResultJson(const DesignRequest& q, const BayDesign& bay, const ReportPaths& paths,
                            const std::vector<std::string>& notes) {
    const Family family = FamilyOf(q.chevron, q.bolted);
    ResultValues top = bay.top;
    top.texts["SAVE_ZORV_FILE_PATH"] = paths.text;
    top.texts["SAVE_ZORV_XLS_PATH"] = paths.sheet;
    top.texts["SAVE_ZORV_DXF_PATH"] = paths.drawing;
    Json out = Json::object();
    Fill(out, TopLevelKeys(family), top, "");
    if (IsChevron(family)) {
        const std::vector<KeySpec> side = BraceKeys(family);
        for (int i = 0; i < 2; ++i) {
            Json object = Json::object();
            Fill(object, side, Side(bay, i), i == 0 ? "LEFT." : "RIGHT.");
            out[kSideKeys[i]] = std::move(object);
        }
    }
    out["Design_Status"] = bay.worst_ratio < 1 && bay.fits ? "OK" : "NG";
    out["Service_Notes"] = notes;
    return Dump(out);
}

std::string WriteTextReport(const DesignRequest& q, const BayDesign& bay) {
    const Family family = FamilyOf(q.chevron, q.bolted);
    std::string out;
    out += "Zorv design report\n";
    out += "Local design service: a simplified stand-in for the design service, not a design code.\n\n";
    out += "Client: " + q.client_id + "\nProject: " + q.project_id + "\n";
    out += std::string("Bay: ") + FamilyName(family) + ", " + (q.cruciform ? "cruciform" : "flat") + " core, " +
           (q.circular ? "circular" : "square") + " casing, units " + q.units + "\n";
    out += "Frame: H_col " + Number(q.h_col) + " mm, L_beam " + Number(q.l_beam) + " mm, columns " +
           Number(q.dc_left) + " / " + Number(q.dc_right) + " mm, beams " + Number(q.beam_up.d) + " / " +
           Number(q.beam_down.d) + " mm\n";
    out += "Core: " + q.core_grade + ", class " + q.class_text + "; gusset: " + q.gusset_grade + "\n";
    const auto& suffixes = BraceCheckSuffixes(family);
    if (!IsChevron(family)) {
        out += "\nBrace\n";
        BraceSummary(out, bay.top, suffixes, q.units);
    } else {
        for (int i = 0; i < 2; ++i) {
            out += std::string("\n") + (i == 0 ? "Left brace" : "Right brace") + "\n";
            BraceSummary(out, Side(bay, i), suffixes, q.units);
        }
        out += "\nMiddle gusset: " + Number(Get(bay.top, "Lh_mid")) + " x " + Number(Get(bay.top, "Lv_mid")) + " mm\n";
        CheckRows(out, bay.top, MiddleCheckSuffixes(family));
    }
    out += std::string("\nResult: ") +
           (bay.worst_ratio >= 1 ? "some checks fail (NG)" : bay.fits ? "every check passes" : "the brace does not fit (NG)") +
           ", largest ratio " + Number(bay.worst_ratio) + "\n";
    for (const std::string& note : bay.notes) out += "Note: " + note + "\n";
    return out;
}

std::string WriteSheetReport(const DesignRequest& q, const BayDesign& bay) {
    const Family family = FamilyOf(q.chevron, q.bolted);
    std::string out;
    auto value = [](const ResultValues& v, const KeySpec& k) {
        return k.type == KeyType::kText ? Text(v, k.key) : Number(Get(v, k.key));
    };
    if (!IsChevron(family)) {
        out += "Key\tValue\n";
        for (const KeySpec& k : TopLevelKeys(family))
            if (k.key.rfind("SAVE_", 0) != 0) out += k.key + "\t" + value(bay.top, k) + "\n";
        return out;
    }
    out += "Key\tLEFT\tRIGHT\n";
    for (const KeySpec& k : BraceKeys(family))
        out += k.key + "\t" + value(bay.left, k) + "\t" + value(bay.right, k) + "\n";
    out += "\nMiddle gusset\n";
    for (const KeySpec& k : TopLevelKeys(family))
        if (k.key.find("mg_") != std::string::npos || k.key.find("mid") != std::string::npos ||
            k.key.rfind("MIDDLE_", 0) == 0)
            out += k.key + "\t" + value(bay.top, k) + "\n";
    return out;
}

}  // namespace zorv_service
