// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <oleacc.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "win32_window_fixture.h"

namespace vostrel::testing {
namespace {

using core::FieldIndex;

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
using AccessiblePtr = std::unique_ptr<IAccessible, Releaser>;

// A field's object as a screen reader asks for it.
AccessiblePtr ObjectOf(HWND field) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(field, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))))
    return nullptr;
  return AccessiblePtr(object);
}

VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// One of the object's texts about itself; empty where it has none.
std::wstring Text(IAccessible& object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
  BSTR text = nullptr;
  std::wstring value;
  if (SUCCEEDED((object.*get)(Self(), &text)) && text != nullptr) value.assign(text, SysStringLen(text));
  SysFreeString(text);
  return value;
}

// Whether the fields must speak Chinese: where the run asked for it (Wine takes the user's language from
// LC_ALL), or the user's language is.
bool ChineseExpected() {
  const char* asked = std::getenv("LC_ALL");
  if (asked != nullptr && std::string_view(asked).starts_with("zh_")) return true;
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
}

struct FieldCase {
  const char* name;
  FieldIndex index;
  std::wstring_view english[2];  // the name and the description
  std::wstring_view chinese[2];
};

void PrintTo(const FieldCase& c, std::ostream* os) {
  *os << c.name;
}

class FieldNameTest : public Win32WindowFixture, public ::testing::WithParamInterface<FieldCase> {};

// Not the caption before the field, which the system would read out in Chinese whatever the user's language.
TEST_P(FieldNameTest, AScreenReaderHearsTheFieldsNameAndDescriptionInTheUsersLanguage) {
  const AccessiblePtr object = ObjectOf(Field(GetParam().index));
  ASSERT_NE(object, nullptr);
  const auto& expected = ChineseExpected() ? GetParam().chinese : GetParam().english;
  EXPECT_EQ(Text(*object, &IAccessible::get_accName), std::wstring(expected[0]));
  EXPECT_EQ(Text(*object, &IAccessible::get_accDescription), std::wstring(expected[1]));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldNameTest,
    ::testing::Values(
        FieldCase{"Decimal",
                  core::kDecimalField,
                  {L"Decimal", L"The value in decimal. Type digits; the other fields follow."},
                  {L"十进制", L"以十进制表示的数值。输入数字，其他字段随之更新。"}},
        FieldCase{
            "Hexadecimal",
            core::kHexField,
            {L"Hexadecimal", L"The value in hexadecimal. Type digits and A to F; the other fields follow."},
            {L"十六进制", L"以十六进制表示的数值。输入数字和 A 到 F，其他字段随之更新。"}},
        FieldCase{"Binary",
                  core::kBinaryField,
                  {L"Binary", L"The value's 32-bit pattern in groups of eight bits. Read-only."},
                  {L"二进制", L"数值的 32 位二进制模式，每八位一组。只读。"}}),
    [](const ::testing::TestParamInfo<FieldCase>& row) { return std::string(row.param.name); });

using Win32WindowTest = Win32WindowFixture;

TEST_F(Win32WindowTest, TheFieldsObjectAnswersEverythingElseAsTheEditItIs) {
  runtime->SetFieldText(core::kDecimalField, u"255");
  const AccessiblePtr decimal = ObjectOf(Field(core::kDecimalField));
  ASSERT_NE(decimal, nullptr);
  EXPECT_EQ(Text(*decimal, &IAccessible::get_accValue), L"255");
  VARIANT role{};
  ASSERT_EQ(decimal->get_accRole(Self(), &role), S_OK);
  EXPECT_EQ(role.vt, VT_I4);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
  HWND owner = nullptr;
  EXPECT_EQ(WindowFromAccessibleObject(decimal.get(), &owner), S_OK);
  EXPECT_EQ(owner, Field(core::kDecimalField));

  AccessiblePtr binary = ObjectOf(Field(core::kBinaryField));
  ASSERT_NE(binary, nullptr);
  VARIANT state{};
  ASSERT_EQ(binary->get_accState(Self(), &state), S_OK);
  EXPECT_NE(state.lVal & STATE_SYSTEM_READONLY, 0);
  // Once the reader lets go, nothing holds the object any more.
  EXPECT_EQ(binary.release()->Release(), 0U);
}

}  // namespace
}  // namespace vostrel::testing
