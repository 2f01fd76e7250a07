-- What the console's package needs beyond what wixl writes (see make_msi.py).
-- Only the properties an upgrade needs go to the installing service from a user's command
-- line: LOCALIP and ROOMPASSWORD are left out on purpose, so that a user without administrator
-- rights cannot pass them to a repair. An administrator's install, group policy and transforms
-- still set them.
UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE `Property` = 'SecureCustomProperties'
-- The room password is written only when given (or kept from the machine); its value never
-- goes into the installer's log.
UPDATE `Component` SET `Condition` = 'ROOMPASSWORD' WHERE `Component` = 'RoomPassword'
INSERT INTO `Property` (`Property`, `Value`) VALUES ('MsiHiddenProperties', 'ROOMPASSWORD;INSTALLED_ROOMPASSWORD')
