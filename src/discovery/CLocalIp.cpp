#include "discovery/CLocalIp.h"

#include "discovery/local_address_file.h"
#include "discovery/local_address_reports.h"
#include "discovery/module_directory.h"
#include "discovery/subnet_prefix.h"
#include "resource.h"

namespace {

std::string LocalAddressPath() {
    return PathBesideModule(kLocalAddressFileName);
}

} // namespace

BEGIN_MESSAGE_MAP(CLocalIp, CDialog)
ON_BN_CLICKED(IDOK, &CLocalIp::OnBnClickedOk)
ON_BN_CLICKED(IDCANCEL, &CDialog::OnCancel)
ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CLocalIp::CLocalIp() : CDialog(IDD_SET_IP, nullptr) {}

void CLocalIp::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_IP_ADDRESS, m_address);
}

void CLocalIp::Report(const std::string& text) {
    m_bReporting = true;
    MessageBox(text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
    m_bReporting = false;
}

// The control takes the four numbers of the file's first 32 bytes. Its window text does not
// set the fields on every system, so the numbers go in as an address.
void CLocalIp::ShowFileAddress() {
    std::string path = LocalAddressPath();
    LocalAddressReading reading = ReadLocalAddressHead(path);
    if (reading.status != LocalAddressFileStatus::ok) {
        m_address.ClearAddress();
        if (!m_bReadProblemReported && !m_bReporting) {
            m_bReadProblemReported = true;
            Report(DescribeLocalAddressProblem(reading.status, path, false));
        }
        return;
    }
    AddressFields fields = ParseAddressFields(reading.text);
    if (!fields[0] && !fields[1] && !fields[2] && !fields[3]) {
        m_address.ClearAddress();
        return;
    }
    DWORD address = 0;
    for (const auto& field : fields) {
        address = (address << 8) | field.value_or(0);
    }
    m_address.SetAddress(address);
}

void CLocalIp::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    if (m_address.GetSafeHwnd() != nullptr) {
        ShowFileAddress();
    }
    CDialog::OnActivate(nState, pWndOther, bMinimized);
}

void CLocalIp::OnBnClickedOk() {
    DWORD address = 0;
    m_address.GetAddress(address);
    std::string path = LocalAddressPath();
    LocalAddressFileStatus status = WriteLocalAddress(path, address);
    if (status != LocalAddressFileStatus::ok) {
        // Nothing was saved: the dialog stays, so the presenter can try again or cancel.
        Report(DescribeLocalAddressProblem(status, path, true));
        return;
    }
    MessageBox(kLocalAddressSavedMessage, nullptr, MB_OK);
    CDialog::OnOK();
}

void ShowLocalAddressDialog() {
    // The address control is not among the common controls that start-up registers.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_INTERNET_CLASSES;
    ::InitCommonControlsEx(&controls);
    CLocalIp dialog;
    dialog.DoModal();
}
