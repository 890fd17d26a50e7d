// Procedures of the game's script language offered by code completion.

// Dialogue
AddDefine start_gdialog(integer msgfile, objectptr who, integer mood, integer headnum, integer backgroundidx);
AddDefine gSay_Start;
AddDefine gSay_End;
AddDefine end_dialogue;
AddDefine gSay_Reply(integer msgfile, integer msgnum);
AddDefine gSay_Message(integer msgfile, integer msgnum, integer reaction);
AddDefine giQ_Option(integer iqtest, integer msgfile, integer msgnum, procptr target, integer reaction);
AddDefine gsay_option(integer msgfile, integer msgnum, procptr target, integer reaction);
AddDefine message_str(integer msgfile, integer msgnum);
AddDefine mstr(integer msgnum);
AddDefine display_msg(string text);
AddDefine float_msg(objectptr who, string text, integer type);
AddDefine dialogue_system_enter;

// Objects
AddDefine self_obj;
AddDefine dude_obj;
AddDefine source_obj;
AddDefine obj_pid(objectptr obj);
AddDefine obj_name(objectptr obj);
AddDefine tile_num(objectptr obj);
AddDefine elevation(objectptr obj);
AddDefine critter_inven_obj(objectptr who, integer where);
AddDefine obj_is_carrying_obj_pid(objectptr who, integer pid);
AddDefine add_obj_to_inven(objectptr who, objectptr item);
AddDefine rm_obj_from_inven(objectptr who, objectptr item);
AddDefine create_object(integer pid, integer tile, integer elev);
AddDefine destroy_object(objectptr obj);
AddDefine item_caps_total(objectptr who);
AddDefine item_caps_adjust(objectptr who, integer amount);
AddDefine attack(objectptr who);
AddDefine critter_state(objectptr who);

// Timers
AddDefine add_timer_event(objectptr who, integer ticks, integer param);
AddDefine flush_add_timer_event_sec(objectptr who, integer seconds, integer param);
AddDefine rm_timer_event(objectptr who);
AddDefine game_time;
AddDefine fixed_param;

// Variables
AddDefine local_var(integer index);
AddDefine set_local_var(integer index, integer value);
AddDefine global_var(integer index);
AddDefine set_global_var(integer index, integer value);
AddDefine map_var(integer index);
AddDefine set_map_var(integer index, integer value);
AddDefine random(integer low, integer high);

// Stats and skills
AddDefine get_critter_stat(objectptr who, integer stat);
AddDefine set_critter_stat(objectptr who, integer stat, integer amount);
AddDefine has_skill(objectptr who, integer skill);
AddDefine critter_mod_skill(objectptr who, integer skill, integer amount);
AddDefine roll_vs_skill(objectptr who, integer skill, integer modifier);
AddDefine is_success(integer roll);
AddDefine is_critical(integer roll);
AddDefine give_exp_points(integer points);
AddDefine reaction_influence(objectptr who, integer amount);
