#include "app/WordAutomation_win.h"

#include <QDir>

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

// Word's own numbers for the arguments of Documents.Open.
constexpr long ThaiCodePage = 874;    // msoEncodingThai
constexpr long OpenAsEncodedText = 5; // wdOpenFormatEncodedText

struct Release {
    void operator()(IDispatch* object) const { object->Release(); }
};
using Dispatch = std::unique_ptr<IDispatch, Release>;

// A VARIANT that clears itself.
struct Variant : VARIANT {
    Variant() { ::VariantInit(this); }
    explicit Variant(bool value) : Variant()
    {
        vt = VT_BOOL;
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    explicit Variant(long value) : Variant()
    {
        vt = VT_I4;
        lVal = value;
    }
    explicit Variant(const QString& text) : Variant()
    {
        vt = VT_BSTR;
        bstrVal = ::SysAllocString(reinterpret_cast<const OLECHAR*>(text.utf16()));
    }
    ~Variant() { ::VariantClear(this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    // The object the variant holds, with a reference of its own.
    Dispatch object() const
    {
        if (vt != VT_DISPATCH || !pdispVal)
            return nullptr;
        pdispVal->AddRef();
        return Dispatch(pdispVal);
    }
};

using NamedArguments = std::vector<std::pair<const wchar_t*, const Variant*>>;

// The ids of a member and of its arguments' names.
bool idsOf(IDispatch* object, const wchar_t* member, const NamedArguments& arguments,
           std::vector<DISPID>& ids)
{
    std::vector<LPOLESTR> names{const_cast<LPOLESTR>(member)};
    for (const auto& argument : arguments)
        names.push_back(const_cast<LPOLESTR>(argument.first));
    ids.resize(names.size());
    return SUCCEEDED(
        object->GetIDsOfNames(IID_NULL, names.data(), UINT(names.size()), LOCALE_USER_DEFAULT, ids.data()));
}

bool invoke(IDispatch* object, DISPID member, WORD kind, std::vector<VARIANT> values,
            std::vector<DISPID> names, VARIANT* result)
{
    DISPPARAMS parameters{values.data(), names.data(), UINT(values.size()), UINT(names.size())};
    return SUCCEEDED(
        object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, nullptr, nullptr));
}

// Calls a method with arguments given by name; IDispatch takes them last to first.
bool call(IDispatch* object, const wchar_t* method, const NamedArguments& arguments, Variant& result)
{
    std::vector<DISPID> ids;
    if (!idsOf(object, method, arguments, ids))
        return false;
    std::vector<VARIANT> values;
    std::vector<DISPID> names;
    for (std::size_t index = arguments.size(); index-- > 0;) {
        values.push_back(*arguments[index].second);
        names.push_back(ids[index + 1]);
    }
    return invoke(object, ids[0], DISPATCH_METHOD, std::move(values), std::move(names), &result);
}

bool getProperty(IDispatch* object, const wchar_t* property, Variant& result)
{
    std::vector<DISPID> ids;
    return idsOf(object, property, {}, ids) && invoke(object, ids[0], DISPATCH_PROPERTYGET, {}, {}, &result);
}

// A property is set through one argument named DISPID_PROPERTYPUT.
bool setProperty(IDispatch* object, const wchar_t* property, const Variant& value)
{
    std::vector<DISPID> ids;
    return idsOf(object, property, {}, ids) &&
           invoke(object, ids[0], DISPATCH_PROPERTYPUT, {value}, {DISPID_PROPERTYPUT}, nullptr);
}

// The last Word and its report, as the analysis page would hold them. Never released at exit: by
// then the window system has closed COM down.
IDispatch* lastWord = nullptr;
IDispatch* lastReport = nullptr;

void keep(IDispatch*& kept, Dispatch object)
{
    if (kept)
        kept->Release();
    kept = object.release();
}

} // namespace

bool showInWord(const QString& path)
{
    // The window system has made this thread a single-threaded apartment already; this counts one
    // more user of it, for the program's life, as long as the references kept.
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return false;
    CLSID word;
    if (FAILED(::CLSIDFromProgID(L"Word.Application", &word)))
        return false; // Word is not installed
    IDispatch* created = nullptr;
    if (FAILED(::CoCreateInstance(word, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&created))))
        return false;
    Dispatch application(created);

    Variant documentsValue;
    if (!getProperty(application.get(), L"Documents", documentsValue))
        return false;
    const Dispatch documents = documentsValue.object();
    if (!documents)
        return false;

    const Variant fileName(QDir::toNativeSeparators(path)), noDialog(false), format(OpenAsEncodedText),
        encoding(ThaiCodePage);
    Variant opened;
    if (!call(documents.get(), L"Open",
              {{L"FileName", &fileName},
               {L"ConfirmConversions", &noDialog},
               {L"Format", &format},
               {L"Encoding", &encoding}},
              opened))
        return false;
    if (!setProperty(application.get(), L"Visible", Variant(true)))
        return false;
    keep(lastReport, opened.object());
    keep(lastWord, std::move(application));
    return true;
}
