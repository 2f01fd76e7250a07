"""The two Windows Installer packages of this build folder, read table by table: what each
installs, where, as which service, with which properties, and how an upgrade finds it."""

import os
import unittest

from msi_tables import properties, summary, table
from package_support import env

ATTRIBUTE_64BIT = 256
# Ctrl+Alt+H: the key H with Ctrl (2) and Alt (4) in the high byte.
HOTKEY_CTRL_ALT_H = 0x0648
UPGRADE_CODES = {
    ("console", "x86_64"): "{7D672522-F561-4959-B2D8-9B4C3A69EC6D}",
    ("console", "i686"): "{BF8C5064-7FB9-4966-97EA-79BEBFCA8F8C}",
    ("agent", "x86_64"): "{72B7603B-5104-4B21-9439-30AF4949D50C}",
    ("agent", "i686"): "{21B27EEE-F995-46D5-BA78-22FF3E56AA4D}",
}
PARAMETERS = r"SYSTEM\CurrentControlSet\Services\ClumaDeckAgent\Parameters"
# What a user's command line may pass to the installing service: only what an upgrade needs.
SECURE = {"WIX_DOWNGRADE_DETECTED", "WIX_UPGRADE_DETECTED"}
RESTART = "1"  # SC_ACTION_RESTART
# Each service: display name, type, start, account and arguments.
SERVICES = [("ClumaDeckAgent", ("ClumaDeck agent", "16", "2", r"NT AUTHORITY\LocalService",
                                "service run")),
            ("ClumaDeckScreen", ("ClumaDeck screen server", "16", "2", "LocalSystem",
                                 "service run"))]


class InstallerTablesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.arch = env("CLUMA_PACKAGE_ARCH")
        cls.version = env("CLUMA_VERSION")
        cls.console = env("CLUMA_CONSOLE_MSI")
        cls.agent = env("CLUMA_AGENT_MSI")

    def test_each_package_is_named_versioned_and_keyed_for_major_upgrades(self):
        cases = [("console", self.console, "ClumaDeck", f"ClumaDeck-{self.version}"),
                 ("agent", self.agent, "ClumaDeck agent", f"ClumaDeck-agent-{self.version}")]
        platform = {"x86_64": "x64", "i686": "Intel"}[self.arch]
        for kind, path, product, stem in cases:
            with self.subTest(kind):
                self.assertEqual(os.path.basename(path), f"{stem}-windows-{self.arch}.msi")
                found = properties(path)
                self.assertEqual(found["ProductName"], product)
                self.assertEqual(found["ProductVersion"], self.version)
                self.assertEqual(found["Manufacturer"], "ClumaDeck")
                self.assertIn("GNU General Public License, version 2 or later",
                              found["ARPCOMMENTS"])
                self.assertEqual(found["UpgradeCode"], UPGRADE_CODES[(kind, self.arch)])
                self.assertEqual(summary(path)["Template"], f"{platform};1033")
                # An older version is found and removed; a newer one stops the install.
                upgrades = {(row["VersionMin"], row["VersionMax"], row["ActionProperty"])
                            for row in table(path, "Upgrade")}
                self.assertEqual(upgrades, {("", self.version, "WIX_UPGRADE_DETECTED"),
                                            (self.version, "", "WIX_DOWNGRADE_DETECTED")})
                icon = found["ARPPRODUCTICON"]
                self.assertIn(icon, {row["Name"] for row in table(path, "Icon")})
                for row in table(path, "Component"):
                    bits = int(row["Attributes"]) & ATTRIBUTE_64BIT
                    self.assertEqual(bool(bits), self.arch == "x86_64", row["Component"])

    def test_the_console_package_installs_the_console_its_pictures_and_a_shortcut(self):
        files = {row["FileName"] for row in table(self.console, "File")}
        self.assertEqual(files, {"ClumaDeck.exe", "korvidVi.exe", "ipSet.PNG", "help.png",
                                 "cluma-scan.exe", "LICENSE.txt"})
        shortcuts = [(row["Directory_"], row["Target"]) for row in table(self.console, "Shortcut")]
        self.assertEqual(shortcuts, [("ProgramMenuFolder", "[INSTALLDIR]ClumaDeck.exe")])

    def test_no_user_can_pass_a_setting_to_a_repair(self):
        for path in (self.console, self.agent):
            with self.subTest(os.path.basename(path)):
                secure = properties(path)["SecureCustomProperties"].split(";")
                self.assertEqual(set(secure), SECURE)

    def test_localip_txt_is_made_by_the_setup_actions_after_the_files_on_first_install_only(self):
        actions = {row["Action"]: row for row in table(self.console, "CustomAction")}
        self.assertEqual(actions["CheckLocalAddress"]["Target"], "CheckLocalAddress")
        # Deferred (1024), as the system (2048), from a DLL in the Binary table (1).
        self.assertEqual(int(actions["WriteLocalAddressFile"]["Type"]), 1 + 1024 + 2048)
        sequence = {row["Action"]: row for row in table(self.console, "InstallExecuteSequence")}

        def at(action):
            return int(sequence[action]["Sequence"])

        self.assertLess(at("CostFinalize"), at("CheckLocalAddress"))
        self.assertLess(at("CheckLocalAddress"), at("RemoveExistingProducts"))
        self.assertLess(at("InstallFiles"), at("WriteLocalAddressFile"))
        self.assertLess(at("WriteLocalAddressFile"), at("InstallFinalize"))
        for action in ("CheckLocalAddress", "WriteLocalAddressFile"):
            self.assertEqual(sequence[action]["Condition"], "NOT Installed")
        self.assertNotIn("localIp.txt", {row["FileName"] for row in table(self.console, "File")})

    def test_the_agent_package_installs_and_starts_both_services(self):
        files = {row["FileName"] for row in table(self.agent, "File")}
        self.assertEqual(files, {"cluma-agent.exe", "ClumaAsk.exe", "cluma-screen.exe",
                                 "cluma-screen-launcher.exe", "LICENSE.txt"})
        keys = ("DisplayName", "ServiceType", "StartType", "StartName", "Arguments")
        services = {row["Name"]: {key: row[key] for key in keys}
                    for row in table(self.agent, "ServiceInstall")}
        # Own process (16), automatic start (2); the launcher needs the system's rights to
        # start the screen server in the student's session.
        self.assertEqual(services, {name: dict(zip(keys, values)) for name, values in SERVICES})
        # Start on install (1), stop on install and uninstall (2 + 32), delete on uninstall (128).
        controls = {(row["Name"], int(row["Event"]), row["Wait"])
                    for row in table(self.agent, "ServiceControl")}
        self.assertEqual(controls, {(name, 1 + 2 + 32 + 128, "1") for name, _ in SERVICES})

    def test_the_services_are_restarted_after_any_failure(self):
        actions = table(self.agent, "MsiServiceConfigFailureActions")
        flags = table(self.agent, "MsiServiceConfig")
        # On install (1) and reinstall (4), for each service of the package.
        expected = {("ClumaDeckAgent", 1 + 4, "AgentService"),
                    ("ClumaDeckScreen", 1 + 4, "ScreenService")}
        for rows in (actions, flags):
            self.assertEqual({(r["Name"], int(r["Event"]), r["Component_"]) for r in rows},
                             expected)
        for row in actions:
            steps = row["Actions"].split("[~]")
            self.assertEqual(set(steps), {RESTART})
            self.assertEqual(len(row["DelayActions"].split("[~]")), len(steps))
            self.assertGreater(int(row["ResetPeriod"]), 0)
        # The failure actions flag (4) set: a stop with an error code counts as a failure.
        self.assertEqual({(int(f["ConfigType"]), f["Argument"]) for f in flags}, {(4, "1")})
        sequence = {row["Action"]: int(row["Sequence"])
                    for row in table(self.agent, "InstallExecuteSequence")}
        self.assertLess(sequence["InstallServices"], sequence["MsiConfigureServices"])
        self.assertLess(sequence["MsiConfigureServices"], sequence["StartServices"])

    def test_the_properties_write_the_services_parameters(self):
        values = {row["Name"]: (row["Value"], row["Component_"])
                  for row in table(self.agent, "Registry") if row["Key"] == PARAMETERS}
        self.assertEqual(values["Name"][0], "[AGENTNAME]")
        self.assertEqual(values["Console"][0], "[CONSOLE]")
        components = {row["Component"]: row for row in table(self.agent, "Component")}
        for name, value, condition in (("Port", "#[PORT]", "PORT"),
                                       ("ScreenPort", "#[SCREENPORT]", "SCREENPORT")):
            self.assertEqual(values[name][0], value)
            self.assertEqual(components[values[name][1]]["Condition"], condition,
                             f"{name} is written only when given")

    def test_both_packages_write_the_room_password_only_when_given_and_never_log_it(self):
        found = []
        for path in (self.console, self.agent):
            with self.subTest(os.path.basename(path)):
                [row] = [r for r in table(path, "Registry") if r["Name"] == "RoomPassword"]
                # HKLM (2), where every user reads it; the programs that read it run as users.
                self.assertEqual((row["Root"], row["Key"], row["Value"]),
                                 ("2", r"SOFTWARE\ClumaDeck", "[ROOMPASSWORD]"))
                component = {r["Component"]: r for r in table(path, "Component")}[row["Component_"]]
                self.assertEqual(component["Condition"], "ROOMPASSWORD")
                found.append(component["ComponentId"])
                hidden = properties(path)["MsiHiddenProperties"].split(";")
                self.assertIn("ROOMPASSWORD", hidden)
                keep = {r["Action"]: r["Condition"] for r in table(path, "InstallExecuteSequence")}
                self.assertEqual(keep["KeepRoomPassword"],
                                 "NOT ROOMPASSWORD AND INSTALLED_ROOMPASSWORD")
        self.assertEqual(found[0], found[1], "one shared component: removing one package keeps it")

    def test_the_firewall_rule_lets_only_the_console_reach_the_screen_server(self):
        actions = {row["Action"]: row for row in table(self.agent, "CustomAction")}
        system = {"x86_64": "System64Folder", "i686": "SystemFolder"}[self.arch]
        netsh = f'"[{system}]netsh.exe" advfirewall firewall '
        for name in ("DeleteScreenFirewallRule", "AddScreenFirewallRule"):
            # A program in a folder (34), failure ignored (64), deferred (1024), as the system.
            self.assertEqual((int(actions[name]["Type"]), actions[name]["Source"]),
                             (34 + 64 + 1024 + 2048, system))
            self.assertTrue(actions[name]["Target"].startswith(netsh), actions[name]["Target"])
        rule = actions["AddScreenFirewallRule"]["Target"]
        for part in ("dir=in action=allow protocol=TCP localport=[FIREWALLPORT]",
                     "remoteip=[FIREWALLREMOTE]", 'program="[INSTALLDIR]cluma-screen.exe"'):
            self.assertIn(part, rule)
        self.assertEqual(actions["FirewallRemoteFromConsole"]["Target"], "[CONSOLE]")
        self.assertEqual(actions["FirewallPortFromScreenPort"]["Target"], "[SCREENPORT]")
        found = properties(self.agent)
        self.assertEqual((found["FIREWALLPORT"], found["FIREWALLREMOTE"]), ("5900", "localsubnet"))
        sequence = {row["Action"]: row for row in table(self.agent, "InstallExecuteSequence")}

        def at(action):
            return int(sequence[action]["Sequence"])

        self.assertEqual(sequence["FirewallRemoteFromConsole"]["Condition"], "CONSOLE")
        self.assertLess(at("KeepConsole"), at("FirewallRemoteFromConsole"))
        self.assertLess(at("InstallFiles"), at("DeleteScreenFirewallRule"))
        self.assertLess(at("DeleteScreenFirewallRule"), at("AddScreenFirewallRule"))
        self.assertLess(at("AddScreenFirewallRule"), at("InstallFinalize"))
        self.assertEqual(sequence["DeleteScreenFirewallRule"]["Condition"], "")
        self.assertEqual(sequence["AddScreenFirewallRule"]["Condition"], 'NOT REMOVE~="ALL"')

    def test_the_students_shortcut_opens_the_dialog_with_ctrl_alt_h(self):
        [shortcut] = table(self.agent, "Shortcut")
        self.assertEqual((shortcut["Directory_"], shortcut["Target"]),
                         ("ProgramMenuFolder", "[INSTALLDIR]ClumaAsk.exe"))
        self.assertEqual(int(shortcut["Hotkey"]), HOTKEY_CTRL_ALT_H)

    def test_the_state_folder_is_written_by_the_service_and_read_by_every_user(self):
        [folder] = table(self.agent, "CreateFolder")
        [access] = table(self.agent, "MsiLockPermissionsEx")
        self.assertEqual((access["LockObject"], access["Table"]),
                         (folder["Directory_"], "CreateFolder"))
        sddl = access["SDDLText"]
        self.assertTrue(sddl.startswith("D:P"), "nothing inherited from ProgramData")
        for ace in ("(A;OICI;0x1301bf;;;LS)", "(A;OICI;FRFX;;;BU)"):
            self.assertIn(ace, sddl)
        self.assertNotIn(";;;WD)", sddl)


if __name__ == "__main__":
    unittest.main()
