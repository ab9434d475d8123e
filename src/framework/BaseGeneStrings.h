// The language strings of the generic condition form: package (the class that owns the text),
// identifier and the built-in Chinese default, read with LangText (TKvForm::GetLangText).
// Every default is passed through the converter's DesignToUI before the lookup, except where
// ConvertDefault is false.
#pragma once

#include <string>

#include "src/framework/KvForm.h"

namespace kv {

struct TLangString {
    const char* Package;
    const char* Ident;
    const char* DefaultText;
    bool ConvertDefault = true;
};

// The caption suffix of the stand-alone test.
inline constexpr TLangString sExeVer{"TfrmBaseGene", "sExeVer", "[您现在运行的是Exe版本!]", false};
// The names of the job arrays in warnings: text array, value array, environment array.
inline constexpr TLangString sOption{"TfrmBaseGene", "sOption", "选择条件文字"};
inline constexpr TLangString sOptionInf{"TfrmBaseGene", "sOptionInf", "选择条件信息"};
inline constexpr TLangString sEnvSetting{"TfrmBaseGene", "sEnvSetting", "环境设置"};
// Developer errors of the date and year-month checks given a control they cannot check.
inline constexpr TLangString sDatePramError{"TfrmBaseGene", "sDatePramError",
                                            "判断日期的函数第一个参数错误, 只能传下列三种物件:"};
inline constexpr TLangString sYMPramError{"TfrmBaseGene", "sYMPramError",
                                          "判断年月的函数第一个参数错误, 只能传下列三种物件:"};
// The panel lookup called for a control outside a selection panel.
inline constexpr TLangString sBBM{"TfrmBaseGene", "sBBM",
                                  "同学, 你吗帮帮忙, 这个 Procedure 是专门给TSelectPanel元件用的!",
                                  false};
// The columns of the scheme list.
inline constexpr TLangString sProjectName{"TfrmBaseGene", "sProjectName", "方案名称"};
inline constexpr TLangString sCreateTime{"TfrmBaseGene", "sCreateTime", "创建时间"};

inline std::string LangText(TKvForm& form, const TLangString& s) {
    return form.GetLangText(s.Package, s.Ident, s.ConvertDefault, s.DefaultText);
}

}  // namespace kv
