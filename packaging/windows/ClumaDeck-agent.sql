-- What the agent's package needs beyond what wixl writes (see make_msi.py).
-- The student's shortcut opens the dialog with Ctrl+Alt+H: 0x0648, the key H (0x48) with
-- Ctrl (0x02) and Alt (0x04) in the high byte.
UPDATE `Shortcut` SET `Hotkey` = 1608 WHERE `Shortcut` = 'AskShortcut'
-- The service's port is written only when PORT is given: missing, the service uses 12357.
UPDATE `Component` SET `Condition` = 'PORT' WHERE `Component` = 'AgentPort'
-- The state folder: the service's account (LocalService) writes the state there, every user
-- reads it, only the system and administrators change anything else; nothing inherited.
CREATE TABLE `MsiLockPermissionsEx` (`MsiLockPermissionsEx` CHAR(72) NOT NULL, `LockObject` CHAR(72) NOT NULL, `Table` CHAR(32) NOT NULL, `SDDLText` LONGCHAR NOT NULL, `Condition` CHAR(255) PRIMARY KEY `MsiLockPermissionsEx`)
INSERT INTO `MsiLockPermissionsEx` (`MsiLockPermissionsEx`, `LockObject`, `Table`, `SDDLText`) VALUES ('StateFolderAccess', 'STATEFOLDER', 'CreateFolder', 'D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;LS)(A;OICI;FRFX;;;BU)')
-- The properties go from the command line to the installing service even where a user
-- without administrator rights starts an elevated install.
UPDATE `Property` SET `Value` = 'AGENTNAME;CONSOLE;PORT;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE `Property` = 'SecureCustomProperties'
