#include "Corpus.h"

// The evaluation set: its commands, voices and sentences are the benchmark's since its first
// version, so its figures stay comparable. Nothing is chosen by looking at its results.
Corpus::Set Corpus::evaluation()
{
    Set set;
    set.name = QStringLiteral("evaluation");
    set.voices = {{"espeak en-us", "espeak-ng", "en-us"},
                  {"espeak en-gb", "espeak-ng", "en-gb"},
                  {"espeak en-us+f3", "espeak-ng", "en-us+f3"},
                  {"flite slt", "flite", "slt"},
                  {"flite rms", "flite", "rms"},
                  {"flite awb", "flite", "awb"}};
    set.commands = {// application names
                    "Notepad", "Calculator", "Firefox", "Thunderbird", "Terminal", "File Manager",
                    "Audacity", "Text Editor", "Mail", "Music Player", "Calendar", "Spreadsheet",
                    // two-word and longer commands
                    "switch to", "select all", "save file", "go back", "go forward", "page down",
                    "page up", "close window", "new tab", "close tab", "undo that", "copy that",
                    "paste that", "scroll down", "scroll up", "zoom in", "zoom out", "next message",
                    "reply to sender", "print document",
                    // digits
                    "press F5", "F12", "tab 3", "line 20", "volume 7", "channel 42",
                    // words missing from the dictionary
                    "open VLC", "GTK settings", "start Kdenlive", "Gedit", "Inkscape", "Blimtrop",
                    "launch Xterm", "LibreOffice"};
    set.outOfGrammar = {"The weather was lovely when we walked to the harbour yesterday",
                        "Could you send me the report before lunch",
                        "I think the meeting has been moved to Thursday",
                        "Did anyone see where I left my glasses",
                        "Let's order pizza tonight",
                        "My brother bought a new bicycle",
                        "Please remember to water the plants",
                        "The train was twenty minutes late again",
                        "What time does the shop close on Sunday",
                        "She plays the violin beautifully",
                        "We should paint the kitchen blue",
                        "Honestly I have no idea",
                        "Thanks a lot, see you tomorrow",
                        "Mark page seven for later",
                        "Hello there"};
    set.talkVoices = {{"espeak en-gb-scotland+m3", "espeak-ng", "en-gb-scotland+m3"},
                      {"espeak en-029+f2", "espeak-ng", "en-029+f2"},
                      {"espeak en-gb-x-gbclan+f1", "espeak-ng", "en-gb-x-gbclan+f1"}};
    set.talkTexts = {
        "Good evening and welcome to the programme.",
        "Tonight we travel to the northern coast, where the fishing season has begun early.",
        "The boats leave the harbour before dawn and return in the afternoon.",
        "Prices at the market have risen for the third week running.",
        "Local farmers say the dry spring has cut their harvest by a quarter.",
        "In sport, the home side won by two goals after a difficult first half.",
        "Their captain said the crowd made all the difference.",
        "A new bridge over the river will open to traffic next month.",
        "Engineers spent four years on the design and the building work.",
        "Now the weather, with sunshine in the south and showers spreading from the west.",
        "Temperatures will fall overnight, so gardeners should protect young plants.",
        "Scientists have found a colony of rare birds on a small island.",
        "The birds had not been seen there for more than fifty years.",
        "Volunteers counted the nests from a boat anchored off the shore.",
        "The city council has approved plans for a larger public library.",
        "Residents will be asked for their views at a meeting in the town hall.",
        "A painting that was lost for a century has been found in an attic.",
        "Experts believe it was painted by a student of a famous master.",
        "It will be shown at the national gallery from the spring.",
        "Traffic is heavy on the main roads leading out of the capital.",
        "Drivers are advised to allow extra time for their journeys.",
        "And finally, a dog that walked home across three counties has been reunited with its "
        "owners.",
        "That is all from us tonight, thank you for watching.",
        "Stay with us for the film, which starts in a few minutes."};
    set.levelCheck = QStringLiteral("Testing my microphone, one two three four five");
    set.firstSeed = 1;
    return set;
}

// The development set: other voices, other commands, other sentences and other noise, for
// choosing thresholds and weights without looking at the evaluation set.
Corpus::Set Corpus::development()
{
    Set set;
    set.name = QStringLiteral("development");
    set.voices = {{"espeak en-gb-x-rp", "espeak-ng", "en-gb-x-rp"},
                  {"espeak en-gb-x-gbcwmd+f4", "espeak-ng", "en-gb-x-gbcwmd+f4"},
                  {"espeak en-us-nyc+m2", "espeak-ng", "en-us-nyc+m2"},
                  {"flite kal16", "flite", "kal16"}};
    set.commands = {// application names
                    "Chromium", "Evolution", "Console", "Image Viewer", "Video Player", "Contacts",
                    "Screenshot", "Settings", "Dictionary", "Weather", "Maps", "Archive Manager",
                    // two-word and longer commands
                    "open file", "find next", "find previous", "bold text", "italic",
                    "new document", "delete line", "move left", "move right", "first page",
                    "last page", "refresh", "minimize window", "maximize window", "show desktop",
                    "mute sound", "play music", "stop playback", "forward message", "mark as read",
                    // digits
                    "press F2", "F9", "go to line 15", "desktop 4", "font size 11", "slide 30",
                    // words missing from the dictionary
                    "open GIMP", "KDE settings", "start Okular", "Kwrite", "Geany", "Trombalix",
                    "launch Konsole", "OpenShot"};
    set.outOfGrammar = {"The children are playing football in the park",
                        "I need to buy milk and bread on the way home",
                        "Our neighbours are moving to another town",
                        "Can you tell me how to get to the station",
                        "It has been raining all morning",
                        "The film was much longer than I expected",
                        "We are going camping next weekend",
                        "He forgot his keys at the office",
                        "Turn it over and have a look underneath",
                        "That restaurant serves excellent soup",
                        "I will call you back in an hour",
                        "Nobody knows what happened to the old piano",
                        "Good morning everyone",
                        "Open the window a little please",
                        "Wait a moment"};
    set.talkVoices = {{"espeak en-us+m7", "espeak-ng", "en-us+m7"},
                      {"espeak en-gb+f5", "espeak-ng", "en-gb+f5"},
                      {"flite kal", "flite", "kal"}};
    set.talkTexts = {"Hello and welcome back to the afternoon show.",
                     "Our first guest has spent ten years sailing around the world alone.",
                     "She tells us about storms, calm seas and the friends she made in every port.",
                     "Later we meet a baker whose bread has won prizes in five countries.",
                     "He starts work at three in the morning, long before the streets wake up.",
                     "The secret, he says, is patience and a very old oven.",
                     "After the break we look at the garden of the month.",
                     "It belongs to a retired teacher who grows vegetables on a tiny balcony.",
                     "Tomatoes, beans and herbs climb up strings tied to the railings.",
                     "The news at four: the strike at the airport has ended after two days.",
                     "Flights are expected to return to normal by tomorrow evening.",
                     "A museum of old machines has opened in a former railway station.",
                     "Visitors can ride a steam engine along a short stretch of track.",
                     "In the studio now we have a musician who builds her own instruments.",
                     "Her latest one is made from a bicycle wheel and a wooden box.",
                     "Listeners have been sending us photographs of the northern lights.",
                     "Some of them were taken from as far south as the border.",
                     "Our reporter is at the county show, where the judging has just finished.",
                     "The prize for the largest pumpkin went to a family from the valley.",
                     "Tomorrow the programme comes from a lighthouse on the eastern cliffs.",
                     "We will hear how the keepers lived before the light was automated.",
                     "Do join us again at the same time, and have a lovely evening."};
    set.levelCheck = QStringLiteral("This is how loud I usually speak to the computer");
    set.firstSeed = 100001;
    return set;
}
