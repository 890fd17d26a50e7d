// Numbered constants of the game's script language offered by code completion.

// Float message types
AddDefine FLOAT_MSG_NORMAL = 0;
AddDefine FLOAT_MSG_RED = 2;
AddDefine FLOAT_MSG_GREEN = 3;
AddDefine FLOAT_MSG_YELLOW = 4;

// Moods and reactions
AddDefine NEUTRAL_REACTION = 1;
AddDefine GOOD_REACTION = 2;
AddDefine BAD_REACTION = 3;

// Stats
AddDefine STAT_st = 0;
AddDefine STAT_pe = 1;
AddDefine STAT_en = 2;
AddDefine STAT_ch = 3;
AddDefine STAT_iq = 4;
AddDefine STAT_ag = 5;
AddDefine STAT_lu = 6;
AddDefine STAT_gender = 34;

// Skills
AddDefine SKILL_SMALL_GUNS = 0;
AddDefine SKILL_BIG_GUNS = 1;
AddDefine SKILL_ENERGY_WEAPONS = 2;
AddDefine SKILL_UNARMED_COMBAT = 3;
AddDefine SKILL_MELEE = 4;
AddDefine SKILL_THROWING = 5;
AddDefine SKILL_FIRST_AID = 6;
AddDefine SKILL_DOCTOR = 7;
AddDefine SKILL_SNEAK = 8;
AddDefine SKILL_LOCKPICK = 9;
AddDefine SKILL_STEAL = 10;
AddDefine SKILL_TRAPS = 11;
AddDefine SKILL_SCIENCE = 12;
AddDefine SKILL_REPAIR = 13;
AddDefine SKILL_CONVERSANT = 14;
AddDefine SKILL_BARTER = 15;
AddDefine SKILL_GAMBLING = 16;
AddDefine SKILL_OUTDOORSMAN = 17;

// Inventory slots
AddDefine INVEN_TYPE_WORN = 0;
AddDefine INVEN_TYPE_RIGHT_HAND = 1;
AddDefine INVEN_TYPE_LEFT_HAND = 2;

// Item PIDs for the PID page of the code presets
AddDefine PID_STIMPAK = 40;
AddDefine PID_BOTTLE_CAPS = 41;
AddDefine PID_10MM_PISTOL = 8;
AddDefine PID_KNIFE = 4;
AddDefine PID_LEATHER_ARMOR = 74;
AddDefine PID_WATER_FLASK = 126;
