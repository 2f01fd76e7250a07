#include "controls/ddx_byte_edit.h"

#include "controls/byte_edit_exchange.h"

#include <vector>

namespace {

// A single-line edit control through its messages.
class EditControl final : public EditField {
public:
    explicit EditControl(HWND hWnd) : hWnd_(hWnd) {}

    std::string Text() const override {
        const int length = ::GetWindowTextLengthA(hWnd_);
        std::vector<char> buffer(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        const int copied = ::GetWindowTextA(hWnd_, buffer.data(), static_cast<int>(buffer.size()));
        return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
    }
    void SetText(const std::string& text) override { ::SetWindowTextA(hWnd_, text.c_str()); }
    EditSelection Selection() const override {
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageA(hWnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }
    void SetSelection(EditSelection selection) override {
        ::SendMessageA(hWnd_, EM_SETSEL, static_cast<WPARAM>(selection.start), selection.end);
    }
    void ScrollCaretIntoView() override { ::SendMessageA(hWnd_, EM_SCROLLCARET, 0, 0); }

private:
    HWND hWnd_;
};

} // namespace

void DDX_ByteEdit(CDataExchange* pDX, int nIDC, std::uint8_t& value, std::uint8_t limit) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr) {
        return; // the exchange is already marked failed
    }
    EditControl edit(hWndCtrl);
    DDX_ByteEdit(edit, pDX->m_bSaveAndValidate != FALSE, value, limit);
}
