-- What the console's package needs beyond what wixl writes (see make_msi.py).
-- Only the properties an upgrade needs go to the installing service from a user's command
-- line: LOCALIP is left out on purpose, so that a user without administrator rights cannot
-- pass it to a repair. An administrator's install, group policy and transforms still set it.
UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE `Property` = 'SecureCustomProperties'
