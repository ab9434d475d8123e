#include "suite/appserver/JobArray.h"

#include <cctype>

namespace kv {

namespace {

[[noreturn]] void Refuse(const std::string& reason) {
    throw EJobRefused("作业数组不正确: " + reason);
}

bool IsVector(const Variant& v, int low) {
    return v.IsArray() && v.DimCount() == 1 && v.LowBound(1) == low;
}

int Count(const Variant& v) {
    return v.HighBound(1) - v.LowBound(1) + 1;
}

std::string Text(const Variant& v, const char* what) {
    if (!VarIsStr(v)) Refuse(std::string(what) + "不是文字");
    return v.AsString();
}

int Integer(const Variant& v, const char* what) {
    if (!VarIsOrdinal(v) && !VarIsStr(v)) Refuse(std::string(what) + "不是整数");
    try {
        return v.AsInteger();
    } catch (const Exception&) {
        Refuse(std::string(what) + "不是整数");
    }
}

bool IsLowerKind(const std::string& kind) {
    bool letter = false;
    for (const char c : kind) {
        if (std::isupper(static_cast<unsigned char>(c))) return false;
        letter = letter || std::islower(static_cast<unsigned char>(c));
    }
    return letter;
}

void CheckConditions(const Variant& job, int conditions) {
    for (int part = 1; part <= 2; ++part) {
        const Variant& list = job[part];
        const char* what = part == 1 ? "条件文字数组" : "条件值数组";
        if (conditions == 0 && !list.IsArray()) continue;
        if (!IsVector(list, 1) || Count(list) != conditions)
            Refuse(std::string(what) + "的个数与环境项 3 不符");
    }
}

void CheckCycleStyle(const Variant& style) {
    if (!IsVector(style, 0) || Count(style) != 2) Refuse("循环模式应为 0..1 的数组");
    const int kind = Integer(style[0], "循环模式");
    const Variant& detail = style[1];
    switch (kind) {
        case 0:
        case 3:
            if (detail.IsArray()) Refuse("循环模式的间隔不是单一值");
            return;
        case 1:
        case 2:
            if (!IsVector(detail, 0) || (kind == 1 && Count(detail) != 2) ||
                (kind == 2 && Count(detail) != 3 && Count(detail) != 4))
                Refuse("循环模式的明细不正确");
            return;
        default:
            Refuse("未知的循环模式 " + std::to_string(kind));
    }
}

void CheckCycleRange(const Variant& range) {
    if (!IsVector(range, 0) || Count(range) < 2) Refuse("循环范围不正确");
    const int kind = Integer(range[1], "循环范围");
    if (kind < 0 || kind > 2 || Count(range) != (kind == 0 ? 2 : 3)) Refuse("循环范围不正确");
    Text(range[0], "开始日期");
}

void CheckPeriodic(const Variant& job) {
    const Variant& period = job[3];
    if (!IsVector(period, 0) || Count(period) != 4) Refuse("周期记录应为 0..3 的数组");
    if (Text(period[0], "周期记录标记") != "Y") Refuse("周期记录标记不是 Y");
    Text(period[1], "运行时间");
    CheckCycleStyle(period[2]);
    CheckCycleRange(period[3]);
    const Variant& dynamic = job[4];
    if (!IsVector(dynamic, 0)) Refuse("变动字段清单不是数组");
    if (Integer(dynamic[0], "变动字段个数") != Count(dynamic) - 1) Refuse("变动字段个数与清单不符");
}

}  // namespace

TJobSummary CheckJobArray(const Variant& job, double now) {
    if (!IsVector(job, 0) || (job.HighBound(1) != 2 && job.HighBound(1) != 4))
        Refuse("应为 0..2 或 0..4 的数组");
    const Variant& env = job[0];
    if (!IsVector(env, 1) || Count(env) < 9) Refuse("环境数组应为 1..个数 的数组");
    const int count = Integer(env[2], "环境项 2");
    if (count != Count(env)) Refuse("环境项个数与环境项 2 不符");
    TJobSummary summary;
    summary.program = Text(env[1], "程序代码");
    summary.company = Text(env[4], "公司代码");
    summary.user = Text(env[5], "用户代码");
    summary.database = Text(env[6], "数据库");
    summary.kind = Text(env[9], "作业类别");
    if (summary.program.empty() || summary.user.empty()) Refuse("缺少程序代码或用户代码");
    const int conditions = Integer(env[3], "环境项 3");
    if (conditions < 0) Refuse("条件个数为负数");
    CheckConditions(job, conditions);
    summary.generationTime = now;
    if (count >= 10) {
        summary.generation = Integer(env[10], "生成时间方式");
        if (summary.generation < 0 || summary.generation > 2) Refuse("生成时间方式应为 0, 1 或 2");
    }
    if (count >= 11) {
        try {
            summary.generationTime = VarToDateTime(env[11]);
        } catch (const Exception&) {
            Refuse("生成时间不是日期时间");
        }
    }
    summary.periodic = job.HighBound(1) == 4;
    if (summary.periodic != IsLowerKind(summary.kind))
        Refuse(summary.periodic ? "周期性作业的作业类别应为小写" : "缺少周期记录");
    if (summary.periodic) CheckPeriodic(job);
    return summary;
}

}  // namespace kv
