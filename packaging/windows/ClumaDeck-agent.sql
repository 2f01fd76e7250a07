-- What the agent's package needs beyond what wixl writes (see make_msi.py).
-- The student's shortcut opens the dialog with Ctrl+Alt+H: 0x0648, the key H (0x48) with
-- Ctrl (0x02) and Alt (0x04) in the high byte.
UPDATE `Shortcut` SET `Hotkey` = 1608 WHERE `Shortcut` = 'AskShortcut'
-- The service's port is written only when PORT is given: missing, the service uses 12357.
UPDATE `Component` SET `Condition` = 'PORT' WHERE `Component` = 'AgentPort'
-- The same for the screen server's port (missing: 5900) and the room password (missing: the
-- fixed password); the room password's value never goes into the installer's log.
UPDATE `Component` SET `Condition` = 'SCREENPORT' WHERE `Component` = 'ScreenPort'
UPDATE `Component` SET `Condition` = 'ROOMPASSWORD' WHERE `Component` = 'RoomPassword'
INSERT INTO `Property` (`Property`, `Value`) VALUES ('MsiHiddenProperties', 'ROOMPASSWORD;INSTALLED_ROOMPASSWORD')
-- The state folder: the service's account (LocalService) writes the state there, every user
-- reads it, only the system and administrators change anything else; nothing inherited.
CREATE TABLE `MsiLockPermissionsEx` (`MsiLockPermissionsEx` CHAR(72) NOT NULL, `LockObject` CHAR(72) NOT NULL, `Table` CHAR(32) NOT NULL, `SDDLText` LONGCHAR NOT NULL, `Condition` CHAR(255) PRIMARY KEY `MsiLockPermissionsEx`)
INSERT INTO `MsiLockPermissionsEx` (`MsiLockPermissionsEx`, `LockObject`, `Table`, `SDDLText`) VALUES ('StateFolderAccess', 'STATEFOLDER', 'CreateFolder', 'D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;LS)(A;OICI;FRFX;;;BU)')
-- Only the properties an upgrade needs go to the installing service from a user's command
-- line. AGENTNAME, CONSOLE, PORT, SCREENPORT and ROOMPASSWORD are left out on purpose: a user
-- without administrator rights could otherwise pass them to a repair and rename the PC, re-pin
-- its console or change the password. An administrator's install, group policy and transforms
-- still set them.
UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE `Property` = 'SecureCustomProperties'
-- Both services come back after a failure, also after one it reports itself (an exit code
-- such as 2 for an address not yet up at start): restarted after 5 s, 10 s, then every 60 s;
-- the count of failures starts again after a day without one. Event 5: on install and repair.
CREATE TABLE `MsiServiceConfigFailureActions` (`MsiServiceConfigFailureActions` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Event` SHORT NOT NULL, `ResetPeriod` LONG, `RebootMessage` CHAR(255) LOCALIZABLE, `Command` CHAR(255) LOCALIZABLE, `Actions` CHAR(255), `DelayActions` CHAR(255), `Component_` CHAR(72) NOT NULL PRIMARY KEY `MsiServiceConfigFailureActions`)
INSERT INTO `MsiServiceConfigFailureActions` (`MsiServiceConfigFailureActions`, `Name`, `Event`, `ResetPeriod`, `Actions`, `DelayActions`, `Component_`) VALUES ('AgentRestarts', 'ClumaDeckAgent', 5, 86400, '1[~]1[~]1', '5000[~]10000[~]60000', 'AgentService')
INSERT INTO `MsiServiceConfigFailureActions` (`MsiServiceConfigFailureActions`, `Name`, `Event`, `ResetPeriod`, `Actions`, `DelayActions`, `Component_`) VALUES ('ScreenRestarts', 'ClumaDeckScreen', 5, 86400, '1[~]1[~]1', '5000[~]10000[~]60000', 'ScreenService')
-- ConfigType 4 (failure actions flag) with 1: the actions also follow a stop with an error.
CREATE TABLE `MsiServiceConfig` (`MsiServiceConfig` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Event` SHORT NOT NULL, `ConfigType` LONG NOT NULL, `Argument` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `MsiServiceConfig`)
INSERT INTO `MsiServiceConfig` (`MsiServiceConfig`, `Name`, `Event`, `ConfigType`, `Argument`, `Component_`) VALUES ('AgentRestartsAfterErrors', 'ClumaDeckAgent', 5, 4, '1', 'AgentService')
INSERT INTO `MsiServiceConfig` (`MsiServiceConfig`, `Name`, `Event`, `ConfigType`, `Argument`, `Component_`) VALUES ('ScreenRestartsAfterErrors', 'ClumaDeckScreen', 5, 4, '1', 'ScreenService')
-- The standard action that applies both tables, after the service is installed (InstallServices,
-- 5800) and before it is started (StartServices, 5900); Windows Installer 5 and later.
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('MsiConfigureServices', 'VersionMsi >= "5.00"', 5850)
-- The screen server's firewall rule, by netsh (wixl writes no program-running actions):
-- 34 (a program in a folder) + 64 (a failure is logged and ignored: where the firewall cannot
-- be changed the install goes on) + 1024 (deferred: the command line is made when the script
-- is written) + 2048 (as the system). The old rule goes first, so a repair never doubles it,
-- and on removal nothing else happens. Both once the files are in place (InstallFiles, 4000),
-- before the services start (StartServices, 5900).
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('DeleteScreenFirewallRule', 3170, '$(var.SystemFolder)', '"[$(var.SystemFolder)]netsh.exe" advfirewall firewall delete rule name="ClumaDeck screen server"')
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('AddScreenFirewallRule', 3170, '$(var.SystemFolder)', '"[$(var.SystemFolder)]netsh.exe" advfirewall firewall add rule name="ClumaDeck screen server" dir=in action=allow protocol=TCP localport=[FIREWALLPORT] remoteip=[FIREWALLREMOTE] program="[INSTALLDIR]cluma-screen.exe" profile=any enable=yes')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('DeleteScreenFirewallRule', 5880)
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('AddScreenFirewallRule', 'NOT REMOVE~="ALL"', 5890)
